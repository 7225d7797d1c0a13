// Drives corvane.exe's main window from outside, as a person would: finds the window and its
// controls, reads their texts, selects combo lines, clicks buttons and answers message boxes.
// It reads one command per line on standard input and answers one line on standard output:
// "ok ..." or "error ...". Fields of a reply are separated by '|'; a line break in a text reads
// \n.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kMainCaption = "Corvane - Flash Drive Error Test";
constexpr UINT kTimeoutMs = 5000;
constexpr int kMessageBoxTextId = 0xFFFF;

HWND mainWindow = nullptr;

// One line per reply: a line break inside a text is written as the two characters \n.
void Reply(const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n')
            continue;
        if (line[i] == '\n' || line[i] == '\r')
            out += "\\n";
        else
            out += line[i];
    }
    std::cout << out << std::endl;
}

// Texts travel as UTF-16 between processes (the ANSI forms of some list messages come back
// unconverted across processes); the replies are UTF-8.
std::string Narrow(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kTimeoutMs,
                             &length))
        return "<no answer>";
    std::vector<wchar_t> buffer(length + 2, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_NORMAL, kTimeoutMs, &copied);
    buffer.back() = L'\0';
    return Narrow(buffer.data());
}

template <typename Predicate> HWND WaitFor(int timeoutMs, Predicate find) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = find())
            return found;
        if (static_cast<int>(GetTickCount() - start) > timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

struct BoxSearch {
    HWND owner;
    HWND found;
};

// A visible dialog window (a message box or the About box) owned by the main window.
BOOL CALLBACK FindOwned(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) == "#32770" && window != search->owner && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == search->owner) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND OwnedDialog() {
    BoxSearch search{mainWindow, nullptr};
    EnumWindows(&FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Rect4(const RECT& r) {
    std::ostringstream s;
    s << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom;
    return s.str();
}

HWND Item(const std::string& id) {
    return GetDlgItem(mainWindow, std::stoi(id));
}

void Run(const std::string& line) {
    std::istringstream words(line);
    std::string command, a, b;
    words >> command >> a >> b;
    if (command == "find") {
        mainWindow = WaitFor(std::stoi(a), [] { return FindWindowA("#32770", kMainCaption); });
        if (mainWindow == nullptr)
            return Reply("error no main window");
        // The window's own answers come only once its initialisation has run.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &ignored);
        return Reply("ok");
    }
    if (mainWindow == nullptr)
        return Reply("error find the window first");
    if (command == "geometry") {
        RECT window{}, client{};
        GetWindowRect(mainWindow, &window);
        GetClientRect(mainWindow, &client);
        POINT origin{0, 0};
        ClientToScreen(mainWindow, &origin);
        std::ostringstream s;
        s << "ok " << Rect4(window) << '|' << client.right << ' ' << client.bottom << '|'
          << origin.x << ' ' << origin.y << '|' << GetSystemMetrics(SM_CYCAPTION);
        return Reply(s.str());
    }
    if (command == "rect") {
        HWND item = Item(a);
        if (item == nullptr)
            return Reply("error no control " + a);
        RECT r{};
        GetWindowRect(item, &r);
        POINT origin{0, 0};
        ClientToScreen(item, &origin);
        return Reply("ok " + Rect4(r) + "|" + std::to_string(origin.x) + " " +
                     std::to_string(origin.y));
    }
    if (command == "text") {
        HWND item = Item(a);
        return Reply(item ? "ok " + TextOf(item) : "error no control " + a);
    }
    if (command == "enabled") {
        HWND item = Item(a);
        return Reply(item ? std::string("ok ") + (IsWindowEnabled(item) ? "1" : "0")
                          : "error no control " + a);
    }
    if (command == "checked") {
        HWND item = Item(a);
        DWORD_PTR state = 0;
        if (item == nullptr ||
            !SendMessageTimeoutA(item, BM_GETCHECK, 0, 0, SMTO_NORMAL, kTimeoutMs, &state))
            return Reply("error no control " + a);
        return Reply("ok " + std::to_string(state));
    }
    if (command == "combo") {
        HWND combo = Item(a);
        DWORD_PTR count = 0, selected = 0;
        if (combo == nullptr ||
            !SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_NORMAL, kTimeoutMs, &count))
            return Reply("error no combo " + a);
        SendMessageTimeoutA(combo, CB_GETCURSEL, 0, 0, SMTO_NORMAL, kTimeoutMs, &selected);
        std::ostringstream s;
        s << "ok " << static_cast<int>(count) << '|' << static_cast<int>(selected);
        for (int i = 0; i < static_cast<int>(count); ++i) {
            DWORD_PTR length = 0;
            SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_NORMAL, kTimeoutMs, &length);
            std::vector<wchar_t> buffer(length + 2, L'\0');
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()),
                                SMTO_NORMAL, kTimeoutMs, &ignored);
            buffer.back() = L'\0';
            s << '|' << Narrow(buffer.data());
        }
        return Reply(s.str());
    }
    if (command == "select") {
        // Choosing a line as the user does: the list changes and the window is told.
        HWND combo = Item(a);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(combo, CB_SETCURSEL, std::stoi(b), 0, SMTO_NORMAL, kTimeoutMs,
                            &ignored);
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(std::stoi(a), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        return Reply("ok");
    }
    if (command == "click") {
        // Posted: the click's handler may open a modal box, which would hold a sent message.
        HWND item = Item(a);
        if (item == nullptr)
            return Reply("error no control " + a);
        PostMessageA(item, BM_CLICK, 0, 0);
        return Reply("ok");
    }
    if (command == "box") {
        HWND box = WaitFor(std::stoi(a), OwnedDialog);
        if (box == nullptr)
            return Reply("error no box");
        // A box that has just appeared may not answer yet while its thread is busy.
        HWND textItem = GetDlgItem(box, kMessageBoxTextId);
        std::string caption = TextOf(box);
        for (int tries = 0; caption == "<no answer>" && tries < 5; ++tries)
            caption = TextOf(box);
        return Reply("ok " + caption + "|" + (textItem ? TextOf(textItem) : std::string()));
    }
    if (command == "nobox") {
        // No box appears within a while.
        HWND box = WaitFor(std::stoi(a), OwnedDialog);
        return Reply(box ? "error a box: " + TextOf(box) : "ok");
    }
    if (command == "answer") {
        HWND box = OwnedDialog();
        HWND button = box ? GetDlgItem(box, std::stoi(a)) : nullptr;
        if (button == nullptr)
            return Reply("error no button " + a);
        PostMessageA(button, BM_CLICK, 0, 0);
        WaitFor(kTimeoutMs, [box]() -> HWND { return IsWindow(box) ? nullptr : box; });
        return Reply("ok");
    }
    if (command == "boxitem") {
        HWND box = OwnedDialog();
        HWND item = box ? GetDlgItem(box, std::stoi(a)) : nullptr;
        return Reply(item ? "ok " + TextOf(item) : "error no item " + a);
    }
    if (command == "closebox") {
        HWND box = OwnedDialog();
        if (box == nullptr)
            return Reply("error no box");
        PostMessageA(box, WM_CLOSE, 0, 0);
        WaitFor(kTimeoutMs, [box]() -> HWND { return IsWindow(box) ? nullptr : box; });
        return Reply("ok");
    }
    if (command == "sysmenu") {
        HMENU menu = GetSystemMenu(mainWindow, FALSE);
        const int count = menu ? GetMenuItemCount(menu) : -1;
        if (count <= 0)
            return Reply("error no system menu");
        std::ostringstream s;
        s << "ok " << count;
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            const UINT id = GetMenuItemID(menu, i);
            s << '|' << (text[0] ? text : "-") << ' ' << static_cast<int>(id);
        }
        return Reply(s.str());
    }
    if (command == "syscommand") {
        PostMessageA(mainWindow, WM_SYSCOMMAND, std::stoul(a), 0);
        return Reply("ok");
    }
    if (command == "close") {
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        return Reply("ok");
    }
    if (command == "key") {
        // A key as the dialog's message loop receives it, at the control that has the focus.
        HWND focus = Item(b.empty() ? "1584" : b);
        const WPARAM key = std::stoul(a);
        PostMessageA(focus, WM_KEYDOWN, key, 1);
        PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
        return Reply("ok");
    }
    if (command == "devchange") {
        DWORD_PTR ignored = 0;
        const bool sent = SendMessageTimeoutA(mainWindow, WM_DEVICECHANGE, 7 /*DBT_DEVNODES_CHANGED*/,
                                              0, SMTO_NORMAL, kTimeoutMs, &ignored) != 0;
        return Reply(sent ? "ok" : "error no answer");
    }
    if (command == "resize") {
        SetWindowPos(mainWindow, nullptr, 0, 0, std::stoi(a), std::stoi(b),
                     SWP_NOMOVE | SWP_NOZORDER);
        return Reply("ok");
    }
    if (command == "gone") {
        const HWND window = mainWindow;
        HWND gone =
            WaitFor(std::stoi(a), [window]() -> HWND { return IsWindow(window) ? nullptr : window; });
        return Reply(gone ? "ok" : "error the window is still there");
    }
    Reply("error unknown command " + command);
}

} // namespace

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "quit")
            break;
        if (!line.empty())
            Run(line);
    }
    return 0;
}
