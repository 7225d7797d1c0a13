#pragma once
#include <cstdint>
#include <string>

namespace corvane {

// Message box styles and answers, numbered as the Windows message box numbers them so that a
// Windows host can pass them through unchanged.
inline constexpr std::uint32_t kMbOk = 0x00;
inline constexpr std::uint32_t kMbYesNo = 0x04;
inline constexpr std::uint32_t kMbIconError = 0x10;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;

inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Shows modal message boxes for the portable logic. Implemented by each front end: real boxes
// on Windows, a terminal prompt in the CLI, a scripted answer in tests.
class IMessageBoxHost {
public:
    virtual ~IMessageBoxHost() = default;
    // Shows text with caption (empty: the application's name) and style; returns the button
    // pressed (kIdOk, kIdYes, kIdNo). Blocks the calling thread until answered.
    virtual int MessageBox(const std::string& text, const std::string& caption,
                           std::uint32_t style) = 0;
};

} // namespace corvane
