#pragma once
#include <cstdint>

namespace corvane {

// A colour as Windows numbers it (COLORREF): 0x00BBGGRR, red in the low byte. Settings, controls
// and canvases all use this one form, so a Windows host passes colours through unchanged.
using Colour = std::uint32_t;

constexpr Colour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return Colour{red} | Colour{green} << 8 | Colour{blue} << 16;
}
constexpr std::uint8_t RedOf(Colour colour) {
    return colour & 0xFF;
}
constexpr std::uint8_t GreenOf(Colour colour) {
    return (colour >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(Colour colour) {
    return (colour >> 16) & 0xFF;
}

} // namespace corvane
