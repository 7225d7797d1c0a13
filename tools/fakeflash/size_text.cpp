#include "size_text.h"

#include <array>
#include <cctype>

namespace corvane::fakeflash {
namespace {

struct Unit {
    std::string_view name;
    std::uint64_t factor;
};

constexpr std::uint64_t kKi = 1024;
constexpr std::array<Unit, 10> kUnits{{
    {"", 1},
    {"b", 1},
    {"kb", 1000ULL},
    {"mb", 1000ULL * 1000},
    {"gb", 1000ULL * 1000 * 1000},
    {"tb", 1000ULL * 1000 * 1000 * 1000},
    {"kib", kKi},
    {"mib", kKi* kKi},
    {"gib", kKi* kKi* kKi},
    {"tib", kKi* kKi* kKi* kKi},
}};

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool Digit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool ParseSize(std::string_view text, std::uint64_t& bytes, std::string& error) {
    const std::string quoted = "'" + std::string(text) + "'";
    std::size_t i = 0;
    std::uint64_t whole = 0;
    std::size_t wholeDigits = 0;
    for (; i < text.size() && Digit(text[i]); ++i, ++wholeDigits) {
        if (__builtin_mul_overflow(whole, 10U, &whole) ||
            __builtin_add_overflow(whole, static_cast<unsigned>(text[i] - '0'), &whole)) {
            error = "size " + quoted + " is too large";
            return false;
        }
    }
    // The fraction is kept as numerator / 10^digits so that "7.5GB" stays exact.
    std::uint64_t fraction = 0;
    std::uint64_t scale = 1;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && Digit(text[i]); ++i, ++fractionDigits) {
            if (fractionDigits >= 18) {
                error = "size " + quoted + " has too many decimals";
                return false;
            }
            fraction = fraction * 10 + static_cast<unsigned>(text[i] - '0');
            scale *= 10;
        }
        if (fractionDigits == 0) {
            error = "size " + quoted + " needs digits after the point";
            return false;
        }
    }
    if (wholeDigits == 0) {
        error = "size " + quoted + " does not start with a number";
        return false;
    }
    const std::string unit = Lower(text.substr(i));
    const Unit* found = nullptr;
    for (const Unit& u : kUnits)
        if (u.name == unit)
            found = &u;
    if (found == nullptr) {
        if (unit == "k" || unit == "m" || unit == "g" || unit == "t")
            error = "size " + quoted + " has an ambiguous unit: write " + std::string(1, text[i]) +
                    "B for powers of 1000 or " + std::string(1, text[i]) + "iB for powers of 1024";
        else
            error = "size " + quoted + " has an unknown unit (use B, KB, MB, GB, TB, KiB, MiB, " +
                    "GiB or TiB)";
        return false;
    }
    std::uint64_t value = 0;
    std::uint64_t part = 0;
    if (__builtin_mul_overflow(whole, found->factor, &value) ||
        __builtin_mul_overflow(fraction, found->factor, &part) ||
        __builtin_add_overflow(value, part / scale, &value)) {
        error = "size " + quoted + " is too large";
        return false;
    }
    if (part % scale != 0) {
        error = "size " + quoted + " is not a whole number of bytes";
        return false;
    }
    bytes = value;
    return true;
}

} // namespace corvane::fakeflash
