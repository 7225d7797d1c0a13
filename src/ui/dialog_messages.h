#pragma once
#include <cstdint>

namespace corvane {

// The window messages and notifications the dialogs route, numbered as Windows numbers them so
// that a Windows host passes its messages through unchanged.
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmTimer = 0x0113;
inline constexpr std::uint32_t kWmHScroll = 0x0114;
inline constexpr std::uint32_t kWmDeviceChange = 0x0219;

// WM_DEVICECHANGE: the set of devices has changed.
inline constexpr std::uintptr_t kDbtDevNodesChanged = 7;
// WM_COMMAND notification codes (the high word of wParam).
inline constexpr unsigned kBnClicked = 0;
inline constexpr unsigned kCbnSelChange = 1;

// wParam of a WM_COMMAND from control id with notification code.
constexpr std::uintptr_t CommandWParam(int id, unsigned code) {
    return (static_cast<std::uintptr_t>(code) << 16) | (static_cast<unsigned>(id) & 0xFFFFu);
}

} // namespace corvane
