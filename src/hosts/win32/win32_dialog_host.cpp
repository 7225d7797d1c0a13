#include "hosts/win32/win32_dialog_host.h"

#include <vector>

#include "log/log_state.h"

namespace corvane::win32 {
namespace {

// The host whose dialog is being created, for the creation hook.
thread_local Win32DialogHost* creating = nullptr;

// The window property that leads from a dialog window to its host.
constexpr const char* kHostProperty = "Corvane.Dialog";

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    ::SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

} // namespace

Win32DialogHost::Win32DialogHost(HINSTANCE instance, std::string appName, bool simulated)
    : instance_(instance), appName_(std::move(appName)), simulated_(simulated) {}

Win32DialogHost::~Win32DialogHost() {
    if (HWND window = window_.load())
        ::DestroyWindow(window);
    controls_.clear();
    if (bigIcon_ != nullptr)
        ::DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr)
        ::DestroyIcon(smallIcon_);
}

int Win32DialogHost::RunModal(int templateId, HWND owner, std::function<bool()> onInit,
                              std::function<void()> beforeDestroy) {
    onInit_ = std::move(onInit);
    ended_ = false;
    result_ = 0;
    // The frame is the first window the dialog manager creates; the hook subclasses it there,
    // so the messages of its creation (the first WM_SIZE) reach the handlers too.
    Win32DialogHost* const outer = creating;
    creating = this;
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, &Win32DialogHost::CreationHook, nullptr,
                                     ::GetCurrentThreadId());
    HWND window = ::CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId), owner,
                                       &Win32DialogHost::DialogProcedure, 0);
    if (hook != nullptr)
        ::UnhookWindowsHookEx(hook);
    creating = outer;
    if (window == nullptr)
        return -1;
    const bool ownerEnabled = owner != nullptr && ::IsWindowEnabled(owner) != FALSE;
    if (ownerEnabled)
        ::EnableWindow(owner, FALSE);
    if (!ended_)
        ::ShowWindow(window, SW_SHOWNORMAL);

    MSG message;
    while (!ended_) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT ends the dialog and goes on to the loop outside.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1)
            break;
        if (!::IsDialogMessageA(window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    // The owner takes the activation back before this window disappears.
    if (ownerEnabled)
        ::EnableWindow(owner, TRUE);
    ::ShowWindow(window, SW_HIDE);
    if (beforeDestroy)
        beforeDestroy();
    ::DestroyWindow(window);
    return result_;
}

void Win32DialogHost::DispatchUntil(const std::function<bool()>& done) {
    while (!done()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
}

LRESULT CALLBACK Win32DialogHost::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && creating != nullptr && creating->window_.load() == nullptr)
        creating->Bind(reinterpret_cast<HWND>(wParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void Win32DialogHost::Bind(HWND window) {
    window_.store(window);
    ::SetPropA(window, kHostProperty, this);
    dialogClassProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32DialogHost::FrameProcedure)));
    if (onWindow)
        onWindow(window);
}

LRESULT CALLBACK Win32DialogHost::FrameProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    auto* host = static_cast<Win32DialogHost*>(::GetPropA(window, kHostProperty));
    if (host == nullptr)
        return ::DefWindowProcA(window, message, wParam, lParam);
    const WNDPROC classProc = host->dialogClassProc_;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc));
        ::RemovePropA(window, kHostProperty);
        host->window_.store(nullptr);
        host->controls_.clear();
        if (host->onWindow)
            host->onWindow(nullptr);
        return ::CallWindowProcA(classProc, window, message, wParam, lParam);
    }
    if (host->windowProc &&
        host->windowProc(message, static_cast<WParam>(wParam), static_cast<LParam>(lParam)))
        return 0;
    return ::CallWindowProcA(classProc, window, message, wParam, lParam);
}

INT_PTR CALLBACK Win32DialogHost::DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM) {
    auto* host = static_cast<Win32DialogHost*>(::GetPropA(window, kHostProperty));
    if (host == nullptr)
        return FALSE;
    if (message == WM_INITDIALOG)
        return host->onInit_ ? (host->onInit_() ? TRUE : FALSE) : TRUE;
    // The framework's OK and Cancel: the dialog ends at once.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        host->EndDialog(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

int Win32DialogHost::MessageBox(const std::string& text, const std::string& caption,
                                std::uint32_t style) {
    const std::string& shown = caption.empty() ? appName_ : caption;
    return ::MessageBoxA(window_.load(), text.c_str(), shown.c_str(), style);
}

void Win32DialogHost::SetDlgItemText(int id, const std::string& text) {
    ::SetDlgItemTextA(window_.load(), id, text.c_str());
}

std::string Win32DialogHost::GetDlgItemText(int id) {
    HWND item = Item(id);
    if (item == nullptr)
        return {};
    const int length = ::GetWindowTextLengthA(item);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(item, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void Win32DialogHost::EnableDlgItem(int id, bool enabled) {
    if (HWND item = Item(id))
        ::EnableWindow(item, enabled ? TRUE : FALSE);
}

bool Win32DialogHost::IsDlgItemEnabled(int id) {
    HWND item = Item(id);
    return item != nullptr && ::IsWindowEnabled(item) != FALSE;
}

void Win32DialogHost::MoveDlgItem(int id, Point at) {
    if (HWND item = Item(id))
        ::SetWindowPos(item, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

LResult Win32DialogHost::SendDlgItemMessage(int id, std::uint32_t message, WParam wParam,
                                            LParam lParam) {
    return ::SendDlgItemMessageA(window_.load(), id, message, wParam, lParam);
}

IControlWindow* Win32DialogHost::SubclassDlgItem(int id, ControlProc proc) {
    HWND item = Item(id);
    if (item == nullptr)
        return nullptr;
    auto& slot = controls_[id];
    slot = std::make_unique<Win32ControlWindow>(item, std::move(proc));
    return slot.get();
}

FontHandle Win32DialogHost::CreateFont(int height, const std::string& face) {
    LOGFONTA font{};
    font.lfHeight = height;
    const std::size_t n = std::min(face.size(), sizeof font.lfFaceName - 1);
    face.copy(font.lfFaceName, n);
    return reinterpret_cast<FontHandle>(::CreateFontIndirectA(&font));
}

void Win32DialogHost::DeleteFont(FontHandle font) {
    if (font != 0)
        ::DeleteObject(reinterpret_cast<HFONT>(font));
}

void Win32DialogHost::SetFontToAllChildren(FontHandle font) {
    // EnumChildWindows reaches the grandchildren too (the combo's edit and list).
    ::EnumChildWindows(window_.load(), &SetFontOnChild, static_cast<LPARAM>(font));
}

void Win32DialogHost::ComboResetContent(int id) {
    SendDlgItemMessage(id, CB_RESETCONTENT, 0, 0);
}

void Win32DialogHost::ComboAddString(int id, const std::string& line) {
    SendDlgItemMessage(id, CB_ADDSTRING, 0, reinterpret_cast<LParam>(line.c_str()));
}

void Win32DialogHost::ComboDeleteString(int id, int index) {
    SendDlgItemMessage(id, CB_DELETESTRING, static_cast<WParam>(index), 0);
}

void Win32DialogHost::ComboSetCurSel(int id, int index) {
    SendDlgItemMessage(id, CB_SETCURSEL, static_cast<WParam>(index), 0);
}

int Win32DialogHost::ComboGetCurSel(int id) {
    return static_cast<int>(SendDlgItemMessage(id, CB_GETCURSEL, 0, 0));
}

int Win32DialogHost::ComboGetCount(int id) {
    const LResult count = SendDlgItemMessage(id, CB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

void Win32DialogHost::CheckRadioButton(int first, int last, int checked) {
    ::CheckRadioButton(window_.load(), first, last, checked);
}

int Win32DialogHost::GetCheckedRadioButton(int first, int last) {
    for (int id = first; id <= last; ++id)
        if (::IsDlgButtonChecked(window_.load(), id) == BST_CHECKED)
            return id;
    return 0;
}

void Win32DialogHost::SetTimer(int id, unsigned periodMs) {
    ::SetTimer(window_.load(), static_cast<UINT_PTR>(id), periodMs, nullptr);
}

void Win32DialogHost::KillTimer(int id) {
    ::KillTimer(window_.load(), static_cast<UINT_PTR>(id));
}

void Win32DialogHost::InvalidateControl(int id) {
    HWND target = id == 0 ? window_.load() : Item(id);
    if (target != nullptr)
        ::InvalidateRect(target, nullptr, TRUE);
}

void Win32DialogHost::UpdateWindow() {
    ::UpdateWindow(window_.load());
}

std::string Win32DialogHost::LoadString(int id) {
    char buffer[512] = {};
    const int length = ::LoadStringA(instance_, static_cast<UINT>(id), buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool Win32DialogHost::AppendSystemMenuItem(const std::string& text, unsigned command) {
    HMENU menu = ::GetSystemMenu(window_.load(), FALSE);
    if (menu == nullptr)
        return false;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, command, text.c_str());
    return true;
}

void Win32DialogHost::SetIcon(int resourceId) {
    HWND window = window_.load();
    auto load = [&](int metricX, int metricY) {
        return static_cast<HICON>(::LoadImageA(instance_, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                               ::GetSystemMetrics(metricX),
                                               ::GetSystemMetrics(metricY), 0));
    };
    if (bigIcon_ == nullptr)
        bigIcon_ = load(SM_CXICON, SM_CYICON);
    if (smallIcon_ == nullptr)
        smallIcon_ = load(SM_CXSMICON, SM_CYSMICON);
    ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

int Win32DialogHost::CaptionHeight() {
    return ::GetSystemMetrics(SM_CYCAPTION);
}

void Win32DialogHost::SetWindowSize(int width, int height) {
    ::SetWindowPos(window_.load(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void Win32DialogHost::OfferFormat(int driveNumber, const std::string& drive) {
    if (simulated_) {
        // The bay's letters may name real drives of this machine: formatting one would destroy
        // a drive nobody tested.
        LogMessage("The formatter is not run for the simulated drive ", drive);
        return;
    }
    ::SHFormatDrive(window_.load(), static_cast<UINT>(driveNumber), SHFMT_ID_DEFAULT, 0);
}

int Win32DialogHost::RunModalDialog(int templateId, std::function<bool(IDialogHost&)> onInit) {
    Win32DialogHost child(instance_, appName_, simulated_);
    return child.RunModal(templateId, window_.load(), [&] { return onInit(child); });
}

void Win32DialogHost::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    // Wakes the loop, which may be waiting for a message.
    ::PostMessageA(window_.load(), WM_NULL, 0, 0);
}

} // namespace corvane::win32
