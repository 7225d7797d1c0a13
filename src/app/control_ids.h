#pragma once

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

} // namespace corvane
