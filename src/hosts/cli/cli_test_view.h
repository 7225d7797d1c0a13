#pragma once
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

#include "sizetest/run_control_view.h"

namespace corvane::cli {

struct TestAnswers {
    bool yes = false;    // answer the confirmation with Yes
    bool format = false; // answer the format offer with Yes
};

// How the status line shows: redrawn in place on a terminal (at most ten times a second),
// as plain lines elsewhere (at most once a second), or not at all.
enum class StatusLine { Terminal, Plain, Off };

// The terminal's view of a test run: the status line (pass, sector, amounts, percentage) and
// every message box printed with its exact text.
class CliTestView : public IRunControlView {
public:
    CliTestView(TestAnswers answers, StatusLine status, std::FILE* out = stdout);

    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    void ShowRunStart() override {}
    void ShowSectorsRemainingUnknown() override {}
    void ShowPass(TestPass pass) override;
    void ShowPosition(std::uint64_t p, std::uint64_t totalSectors,
                      std::uint32_t sectorSize) override;
    void ShowProgress(TestPass pass, std::uint64_t percent) override;
    void ShowRunEnd(std::uint64_t totalSectors, std::uint32_t sectorSize) override;
    void UseWriteBrush() override {}
    void UseVerifyBrush() override {}
    void ClearPlots() override {}
    void AddPlots(std::uint64_t) override {}
    void RefreshMap() override {}
    void LaunchFormatter(int driveNumber, const std::string& drive) override;
    void ShowIdleButtons() override {}
    void ResetMap() override {}
    void ShowZeroFields() override {}
    void ShowRunningButtons() override {}
    void ShowStoppedButtons(bool) override {}

    // Blocks written in each pass so far (positions shown), for the summary line.
    std::uint64_t BlocksShown(TestPass pass) const;

private:
    void DrawLocked(bool force);
    void EndStatusLineLocked();

    TestAnswers answers_;
    StatusLine status_;
    bool terminal_;
    std::FILE* out_;
    mutable std::mutex mutex_;
    TestPass pass_ = TestPass::Write;
    std::uint64_t p_ = 0;
    std::uint64_t total_ = 0;
    std::uint32_t sectorSize_ = 0;
    std::uint64_t percent_ = 0;
    bool havePosition_ = false;
    bool statusShown_ = false;
    std::uint64_t blocks_[2] = {0, 0};
    std::chrono::steady_clock::time_point lastDraw_{};
};

} // namespace corvane::cli
