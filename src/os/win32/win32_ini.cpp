#include <windows.h>

#include <cctype>
#include <fstream>
#include <string_view>
#include <vector>

#include "os/ini.h"
#include "os/win32/win32_handle.h"

namespace corvane::os {
namespace {

std::string Trim(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(begin, end - begin + 1));
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// A value ends where a ';' preceded by white space starts a comment.
std::string StripInlineComment(const std::string& value) {
    for (std::size_t i = 1; i < value.size(); ++i) {
        if (value[i] == ';' && (value[i - 1] == ' ' || value[i - 1] == '\t'))
            return Trim(std::string_view(value).substr(0, i));
    }
    return value;
}

// The NUL-separated list the profile functions fill, growing the buffer until the answer fits
// (they answer size - 2 when it was cut short).
template <typename Fill> std::vector<std::string> ReadList(Fill fill) {
    std::vector<char> buffer(4096);
    DWORD length = 0;
    for (;;) {
        length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length + 2 < buffer.size())
            break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> items;
    std::size_t at = 0;
    while (at < length && buffer[at] != '\0') {
        const std::string item(buffer.data() + at);
        items.push_back(item);
        at += item.size() + 1;
    }
    return items;
}

// One line of the file as the line search sees it.
struct FileLine {
    std::string section; // the section the line belongs to
    std::string key;     // empty when the line holds no key
};

} // namespace

IniParseResult ReadIniFile(const std::string& path) {
    IniParseResult result;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return result;

    // The profile functions take a bare file name as one in the Windows folder.
    char full[MAX_PATH] = {};
    const DWORD fullLength = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (fullLength == 0 || fullLength >= MAX_PATH) {
        win32_os::RecordLastError();
        return result;
    }

    // The line search: the place of every key, and the first line the system's reader would
    // take for something it is not (a key without '=', an unclosed section).
    std::vector<FileLine> lines;
    std::string current;
    std::string text;
    while (std::getline(in, text)) {
        if (lines.empty() && text.rfind("\xEF\xBB\xBF", 0) == 0)
            text.erase(0, 3);
        const std::string trimmed = Trim(text);
        FileLine line{current, {}};
        if (trimmed.empty() || IsComment(trimmed)) {
        } else if (trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            if (close == std::string::npos) {
                if (result.errorLine == 0)
                    result.errorLine = static_cast<int>(lines.size()) + 1;
            } else {
                current = Trim(std::string_view(trimmed).substr(1, close - 1));
                line.section = current;
            }
        } else if (const std::size_t eq = trimmed.find('='); eq == std::string::npos) {
            if (result.errorLine == 0)
                result.errorLine = static_cast<int>(lines.size()) + 1;
        } else {
            line.key = Trim(std::string_view(trimmed).substr(0, eq));
        }
        lines.push_back(std::move(line));
    }

    IniDocument& doc = result.document;
    doc.sections = ReadList([&](char* buffer, DWORD size) {
        return ::GetPrivateProfileSectionNamesA(buffer, size, full);
    });
    for (const std::string& section : doc.sections) {
        const std::vector<std::string> items = ReadList([&](char* buffer, DWORD size) {
            return ::GetPrivateProfileSectionA(section.c_str(), buffer, size, full);
        });
        std::size_t searchFrom = 0;
        for (const std::string& item : items) {
            const std::string trimmed = Trim(item);
            const std::size_t eq = trimmed.find('=');
            if (trimmed.empty() || IsComment(trimmed) || eq == std::string::npos)
                continue;
            IniEntry entry;
            entry.section = section;
            entry.key = Trim(std::string_view(trimmed).substr(0, eq));
            entry.value = StripInlineComment(Trim(std::string_view(trimmed).substr(eq + 1)));
            for (std::size_t i = searchFrom; i < lines.size(); ++i) {
                if (SameName(lines[i].section, section) && SameName(lines[i].key, entry.key)) {
                    entry.line = static_cast<int>(i) + 1;
                    searchFrom = i + 1;
                    break;
                }
            }
            doc.entries.push_back(std::move(entry));
        }
    }
    result.ok = result.errorLine == 0;
    return result;
}

} // namespace corvane::os
