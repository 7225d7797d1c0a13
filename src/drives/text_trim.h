#pragma once
#include <string>
#include <string_view>

namespace corvane {

// White space as the C locale knows it; bytes of 0x80 and above are never white space.
inline bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// text without its leading and trailing white space.
inline std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsWhiteSpace(text[begin]))
        ++begin;
    while (end > begin && IsWhiteSpace(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

} // namespace corvane
