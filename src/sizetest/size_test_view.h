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

    // What a run covers and where it ended, for views that report a run in figures (a terminal's
    // summary, a report); the dialog shows none of it, so each has an empty default. Called
    // before the message that the figure belongs to.
    //
    // The blocks a pass tests when it runs to its end, and the sectors between block starts.
    virtual void ShowPlan(std::uint64_t /*blocksPerPass*/, std::uint64_t /*stepSectors*/) {}
    // The run's first failure: block p of the pass, what went wrong, its byte position as the
    // failure message names it.
    virtual void ShowFailure(TestPass /*pass*/, TestFailure /*failure*/, std::uint64_t /*p*/,
                             std::uint64_t /*bytes*/) {}
    // The probable real size that an overwritten first block names.
    virtual void ShowProbableRealSize(std::uint64_t /*bytes*/) {}

    // The system's formatter for a drive (drive number: A is 0).
    virtual void LaunchFormatter(int driveNumber, const std::string& drive) = 0;
    // The end of the run's buttons: Start Test enabled, Stop Test disabled.
    virtual void ShowIdleButtons() = 0;
};

} // namespace corvane
