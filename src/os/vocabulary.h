#pragma once
// The words every layer shares: control ids, message boxes and their answers, settings keys.
// A leaf: it includes nothing of the project's own, so any layer may include it.
#include <cstdint>
#include <string>

namespace corvane {

// Control ids of the main dialog, shared by the portable logic and every host.
enum ControlId : int {
    kIdcGraph = 1568,
    kIdcTitle = 1666,
    kIdcDriveLetter = 1583,
    kIdcBrand = 1198,
    kIdcModel = 1199,
    kIdcDriveType = 1590,
    kIdcInterface = 1184,
    kIdcFirmware = 1585,
    kIdcMaxSize = 1586,
    kIdcFormatSize = 1587,
    kIdcFreeSpace = 1588,
    kIdcUsedSpace = 1589,
    kIdcSizePerPlot = 1601,
    kIdcStartTest = 1584,
    kIdcStopTest = 1592,
    kIdcTestingSectorLabel = 1225,
    kIdcTestingSector = 1591,
    kIdcSectorsRemaining = 1593,
    kIdcAmountTestedLabel = 1227,
    kIdcAmountTested = 1594,
    kIdcAmountRemaining = 1595,
    kIdcProgress = 1621,
    kIdcQuickTest = 1660,
    kIdcFullTest = 1661,
    kIdcDriveCombo = 1569,
    kIdcStatus = 1665,
};

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

// The settings: the registry key and the section that hold them, and their keys.
inline constexpr const char* kRegistryKey = "CVN";
inline constexpr const char* kSettingsSection = "CVN";
inline constexpr const char* kAllowLogging = "AllowLogging";
inline constexpr const char* kGraphSpeedColor = "GraphSPEEDColorPick";
inline constexpr const char* kGraphRpmColor = "GraphRPMColorPick";
inline constexpr const char* kGraphFgColor = "GraphFGColorPick1";
inline constexpr const char* kGraphBgColor = "GraphBGColorPick1";
inline constexpr const char* kHddSelectedDevice = "HDDSelectedDevice";

} // namespace corvane
