#include "cli/cli_drive_name.h"

#include <string_view>

namespace corvane {
namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string ListedName(std::string text) {
    if (text.size() >= 1 && IsAsciiLetter(text[0]) &&
        (text.size() == 1 || (text[1] == ':' && (text.size() == 2 || text.substr(2) == "\\"))))
        return std::string{static_cast<char>(text[0] & ~0x20), ':'};
    constexpr std::string_view kDevFolder = "/dev/";
    if (text.rfind(kDevFolder, 0) == 0)
        text.erase(0, kDevFolder.size());
    return text;
}

} // namespace corvane
