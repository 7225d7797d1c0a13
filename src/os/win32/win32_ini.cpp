#include <windows.h>

#include <algorithm>
#include <cctype>
#include <climits>
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

// A key line of the file as the line search sees it.
struct FileKey {
    int line = 0;
    int block = 0; // 0 before the first section header, then one per header in file order
    std::string section;
    std::string key;
    std::string value;
};

struct FileScan {
    std::vector<FileKey> keys;
    std::vector<std::string> blocks; // the name of each block, blocks[0] = "" (no section)
    int errorLine = 0;               // the first line that is neither key, section nor comment
};

// The line search: where every key stands, and the first line the system's reader would take
// for something it is not (a key without '=', an unclosed section).
FileScan ScanLines(std::istream& in) {
    FileScan scan;
    scan.blocks.push_back({});
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (line == 1 && text.rfind("\xEF\xBB\xBF", 0) == 0)
            text.erase(0, 3);
        const std::string trimmed = Trim(text);
        if (trimmed.empty() || IsComment(trimmed))
            continue;
        if (trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            if (close != std::string::npos) {
                scan.blocks.push_back(Trim(std::string_view(trimmed).substr(1, close - 1)));
                continue;
            }
        } else if (const std::size_t eq = trimmed.find('='); eq != std::string::npos) {
            const int block = static_cast<int>(scan.blocks.size()) - 1;
            scan.keys.push_back(FileKey{
                line, block, scan.blocks.back(), Trim(std::string_view(trimmed).substr(0, eq)),
                StripInlineComment(Trim(std::string_view(trimmed).substr(eq + 1)))});
            continue;
        }
        if (scan.errorLine == 0)
            scan.errorLine = line;
    }
    return scan;
}

// The first block of each section name; a later block of the same name repeats it.
std::vector<bool> FirstBlocks(const std::vector<std::string>& blocks) {
    std::vector<bool> first(blocks.size(), false);
    for (std::size_t i = 1; i < blocks.size(); ++i) {
        first[i] = true;
        for (std::size_t j = 1; j < i && first[i]; ++j)
            first[i] = !SameName(blocks[j], blocks[i]);
    }
    return first;
}

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
    const FileScan scan = ScanLines(in);
    const std::vector<bool> firstBlock = FirstBlocks(scan.blocks);

    // The system's reader gives the keys of the first block of each section. Each keeps the line
    // of its key in that block.
    IniDocument& doc = result.document;
    const std::vector<std::string> names = ReadList([&](char* buffer, DWORD size) {
        return ::GetPrivateProfileSectionNamesA(buffer, size, full);
    });
    for (const std::string& section : names) {
        bool known = section.empty(); // keys before any section come from the line search
        for (const std::string& s : doc.sections)
            known = known || SameName(s, section);
        if (known)
            continue;
        doc.sections.push_back(section);
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
            for (std::size_t i = searchFrom; i < scan.keys.size(); ++i) {
                const FileKey& k = scan.keys[i];
                if (firstBlock[static_cast<std::size_t>(k.block)] && SameName(k.section, section) &&
                    SameName(k.key, entry.key)) {
                    entry.line = k.line;
                    searchFrom = i + 1;
                    break;
                }
            }
            doc.entries.push_back(std::move(entry));
        }
    }
    // What the system's reader leaves out (keys before the first section, a section given a
    // second time) comes from the line search, so that no key of the file goes unseen.
    for (const FileKey& k : scan.keys) {
        if (!firstBlock[static_cast<std::size_t>(k.block)])
            doc.entries.push_back(IniEntry{k.section, k.key, k.value, k.line});
    }
    std::stable_sort(doc.entries.begin(), doc.entries.end(),
                     [](const IniEntry& a, const IniEntry& b) {
                         const int la = a.line == 0 ? INT_MAX : a.line;
                         const int lb = b.line == 0 ? INT_MAX : b.line;
                         return la < lb;
                     });
    result.errorLine = scan.errorLine;
    result.ok = scan.errorLine == 0;
    return result;
}

} // namespace corvane::os
