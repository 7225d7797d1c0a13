#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::os::sim {

// A whole number in decimal or, with 0x in front, hexadecimal; nullopt for anything else,
// including values beyond 64 bits.
std::optional<std::uint64_t> ParseBayNumber(std::string_view text);

// A size: whole bytes, or a whole number followed (with or without a blank) by KB, MB, GB, TB
// (powers of 1000) or KiB, MiB, GiB, TiB (powers of 1024), in any letter case. nullopt for
// anything else, including sizes beyond 64 bits.
std::optional<std::uint64_t> ParseBaySize(std::string_view text);

// text in lower case (ASCII letters only).
std::string LowerAscii(std::string_view text);

} // namespace corvane::os::sim
