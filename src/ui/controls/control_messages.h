#pragma once
#include <cstdint>

#include "canvas/colour.h"

namespace corvane {

// A window message's parameters and result, as wide as the platform's (WPARAM, LPARAM,
// LRESULT): a pointer travels in lParam as an integer of pointer width.
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// The window messages the self-drawn controls answer, numbered as Windows numbers them so that
// a Windows host hands them over unchanged.
inline constexpr std::uint32_t kWmSize = 0x0005;
inline constexpr std::uint32_t kWmSetText = 0x000C;
inline constexpr std::uint32_t kWmGetText = 0x000D;
inline constexpr std::uint32_t kWmPaint = 0x000F;
inline constexpr std::uint32_t kWmEraseBkgnd = 0x0014;
inline constexpr std::uint32_t kWmSetFont = 0x0030;
inline constexpr std::uint32_t kWmGetFont = 0x0031;
inline constexpr std::uint32_t kWmUser = 0x0400;

// The progress bar's messages.
inline constexpr std::uint32_t kPbmSetRange = kWmUser + 1;
inline constexpr std::uint32_t kPbmSetPos = kWmUser + 2;
inline constexpr std::uint32_t kPbmDeltaPos = kWmUser + 3;
inline constexpr std::uint32_t kPbmSetStep = kWmUser + 4;
inline constexpr std::uint32_t kPbmStepIt = kWmUser + 5;
inline constexpr std::uint32_t kPbmSetRange32 = kWmUser + 6;
inline constexpr std::uint32_t kPbmGetRange = kWmUser + 7;
inline constexpr std::uint32_t kPbmGetPos = kWmUser + 8;
inline constexpr std::uint32_t kPbmSetBarColor = kWmUser + 9;
inline constexpr std::uint32_t kPbmSetBkColor = 0x2001; // the common controls' CCM_SETBKCOLOR

// The text progress bar's own messages, in the range private to a window class.
inline constexpr std::uint32_t kTpcSetTextColor = kWmUser + 100;
inline constexpr std::uint32_t kTpcShowText = kWmUser + 101;

// The colour that means "the control's default" (CLR_DEFAULT).
inline constexpr Colour kClrDefault = 0xFF000000;

// System colour indexes, resolved by the window (GetSysColor).
inline constexpr int kColorWindow = 5;
inline constexpr int kColorHighlight = 13;

// The range that PBM_GETRANGE fills when lParam points to one; laid out as Windows' PBRANGE.
struct PbRange {
    int iLow;
    int iHigh;
};

} // namespace corvane
