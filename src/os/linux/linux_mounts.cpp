#include "os/linux/linux_mounts.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace corvane::os::linux_os {
namespace {

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

// Splits a line at blanks; the kernel escapes the blanks inside a field.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t')
            ++at;
        if (at > start)
            fields.push_back(line.substr(start, at - start));
    }
    return fields;
}

bool ParseDevNumber(std::string_view text, unsigned& major, unsigned& minor) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    const char* end = text.data() + text.size();
    const auto first = std::from_chars(text.data(), text.data() + colon, major);
    const auto second = std::from_chars(text.data() + colon + 1, end, minor);
    return first.ec == std::errc{} && first.ptr == text.data() + colon &&
           second.ec == std::errc{} && second.ptr == end;
}

template <typename Each> void ForEachLine(std::string_view text, Each each) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        each(text.substr(at, end - at));
        at = end + 1;
    }
}

} // namespace

std::string UnescapeMountField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
            IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    ForEachLine(text, [&](std::string_view line) {
        // id parent major:minor root mount-point options [optional...] - type source super
        const auto fields = Fields(line);
        std::size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-")
            ++dash;
        if (dash + 2 >= fields.size())
            return;
        MountEntry entry;
        if (!ParseDevNumber(fields[2], entry.major, entry.minor))
            return;
        entry.root = UnescapeMountField(fields[3]);
        entry.mountPoint = UnescapeMountField(fields[4]);
        entry.fsType = UnescapeMountField(fields[dash + 1]);
        entry.source = UnescapeMountField(fields[dash + 2]);
        mounts.push_back(std::move(entry));
    });
    return mounts;
}

std::vector<std::string> ParseSwaps(std::string_view text) {
    std::vector<std::string> swaps;
    bool header = true;
    ForEachLine(text, [&](std::string_view line) {
        if (header) {
            header = false;
            return;
        }
        const auto fields = Fields(line);
        if (!fields.empty())
            swaps.push_back(UnescapeMountField(fields[0]));
    });
    return swaps;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace corvane::os::linux_os
