#pragma once
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

#include "hosts/cli/cli_console.h"
#include "hosts/cli/cli_report.h"
#include "sizetest/run_control_view.h"

namespace corvane::cli {

struct TestAnswers {
    bool yes = false;    // answer the confirmation with Yes
    bool format = false; // answer the format offer with Yes
};

// The terminal's view of one drive's test run: keeps the run's figures in the drive's report,
// prints every message box with its exact text through the console, and keeps the drive's
// status line (pass, percent, rate, elapsed and time left from the blocks done). The
// confirmation has been asked for the whole run before the workers start: its box is answered
// here without being shown again. A question's text comes before its answer.
class CliTestView : public IRunControlView {
public:
    CliTestView(TestAnswers answers, CliConsole& console, int slot, DriveReport& report);

    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    void ShowRunStart() override;
    void ShowSectorsRemainingUnknown() override {}
    void ShowPass(TestPass pass) override;
    void ShowPosition(std::uint64_t p, std::uint64_t totalSectors,
                      std::uint32_t sectorSize) override;
    void ShowProgress(TestPass pass, std::uint64_t percent) override;
    void ShowRunEnd(std::uint64_t totalSectors, std::uint32_t sectorSize) override;
    void ShowPlan(std::uint64_t blocksPerPass, std::uint64_t stepSectors) override;
    void ShowFailure(TestPass pass, TestFailure failure, std::uint64_t p,
                     std::uint64_t bytes) override;
    void ShowProbableRealSize(std::uint64_t bytes) override;
    void UseWriteBrush() override {}
    void UseVerifyBrush() override {}
    void ClearPlots() override {}
    void AddPlots(std::uint64_t) override {}
    void RefreshMap() override {}
    void LaunchFormatter(int driveNumber, const std::string& drive) override;
    void ShowIdleButtons() override;
    void ResetMap() override {}
    void ShowZeroFields() override {}
    void ShowRunningButtons() override {}
    void ShowStoppedButtons(bool) override {}

    // The report as the worker has filled it so far; call once the worker has ended.
    const DriveReport& Report() const { return report_; }
    // The run's time from its start to its last step, when it has ended.
    bool Ended() const;

private:
    void DrawLocked(bool force);
    double SecondsLocked() const;

    TestAnswers answers_;
    CliConsole& console_;
    int slot_;
    DriveReport& report_;
    mutable std::mutex mutex_;
    std::uint32_t sectorSize_ = 0;
    std::uint64_t bytesMoved_ = 0;
    bool running_ = false;
    bool ended_ = false;
    std::chrono::steady_clock::time_point start_{};
    std::chrono::steady_clock::time_point lastDraw_{};
};

} // namespace corvane::cli
