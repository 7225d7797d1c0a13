#pragma once
#include <cstdint>
#include <string>

#include "os/vocabulary.h"
#include "sizetest/size_test_texts.h"

namespace corvane {

// What a size test run shows, reported as values; each view turns them into the run's texts
// (size_test_texts.h, FormatSize) when it shows them, so a view that redraws seldom formats
// seldom. Calls come from the worker thread. The message boxes block the worker until answered.
class ISizeTestView : public IMessageBoxHost {
public:
    // The run starts: testing sector "0".
    virtual void ShowRunStart() = 0;
    // The buffer is in place: sectors remaining "N/A" until the first block.
    virtual void ShowSectorsRemainingUnknown() = 0;
    // A pass begins: the two labels take the pass's texts.
    virtual void ShowPass(TestPass pass) = 0;
    // The four value fields for block p: p, TS - p, size of p x SS, size of (TS - p) x SS.
    virtual void ShowPosition(std::uint64_t p, std::uint64_t totalSectors,
                              std::uint32_t sectorSize) = 0;
    // The progress bar: the pass's text with percent, position percent + 1.
    virtual void ShowProgress(TestPass pass, std::uint64_t percent) = 0;
    // The end of a run: "100% Complete" at 100, remaining "0", amount tested the whole size of
    // totalSectors x sectorSize, amount remaining "0 GB".
    virtual void ShowRunEnd(std::uint64_t totalSectors, std::uint32_t sectorSize) = 0;

    // The test map.
    virtual void UseWriteBrush() = 0;
    virtual void UseVerifyBrush() = 0;
    virtual void ClearPlots() = 0;
    virtual void AddPlots(std::uint64_t count) = 0;
    virtual void RefreshMap() = 0;

    // The system's formatter for a drive (drive number: A is 0).
    virtual void LaunchFormatter(int driveNumber, const std::string& drive) = 0;
    // The end of the run's buttons: Start Test enabled, Stop Test disabled.
    virtual void ShowIdleButtons() = 0;
};

} // namespace corvane
