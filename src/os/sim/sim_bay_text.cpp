#include "os/sim/sim_bay_text.h"

#include <limits>

namespace corvane::os::sim {
namespace {

struct Unit {
    std::string_view name;
    std::uint64_t factor;
};

constexpr std::uint64_t kKB = 1000;
constexpr std::uint64_t kKiB = 1024;
constexpr Unit kUnits[] = {
    {"kb", kKB},   {"mb", kKB* kKB},    {"gb", kKB* kKB* kKB},     {"tb", kKB* kKB* kKB* kKB},
    {"kib", kKiB}, {"mib", kKiB* kKiB}, {"gib", kKiB* kKiB* kKiB}, {"tib", kKiB* kKiB* kKiB* kKiB},
};

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::optional<std::uint64_t> ParseBayNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        const auto d = static_cast<std::uint64_t>(digit);
        if (value > (kMax - d) / static_cast<std::uint64_t>(base))
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + d;
    }
    return value;
}

std::optional<std::uint64_t> ParseBaySize(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0)
        return std::nullopt;
    const std::optional<std::uint64_t> number = ParseBayNumber(text.substr(0, digits));
    if (!number)
        return std::nullopt;
    std::string_view rest = text.substr(digits);
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    if (rest.empty())
        return number;
    const std::string unit = LowerAscii(rest);
    for (const Unit& u : kUnits) {
        if (unit == u.name) {
            if (*number > std::numeric_limits<std::uint64_t>::max() / u.factor)
                return std::nullopt;
            return *number * u.factor;
        }
    }
    return std::nullopt;
}

} // namespace corvane::os::sim
