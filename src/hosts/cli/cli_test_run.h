#pragma once
#include <atomic>
#include <vector>

#include "hosts/cli/cli_console.h"
#include "hosts/cli/cli_report.h"
#include "hosts/cli/cli_test_view.h"
#include "os/platform.h"

namespace corvane::cli {

struct TestRunOptions {
    int mode = 0; // 0 Quick Test, kFullTestMode
    // The confirmation already given for every drive, and the format offer's answer.
    TestAnswers answers;
    // Each drive's closing line when its run has ended.
    bool closingLines = true;
};

// Tests the drives in parallel, one worker each, each on its own drive only: every drive has
// its own run control, view and report. When interrupted turns true every run is stopped at
// its next block. Returns once every worker has ended, with the reports in the drives' order
// (identity as given, the rest filled by the run).
std::vector<DriveReport> RunDriveTests(os::Platform& platform, CliConsole& console,
                                       const std::vector<DriveIdentity>& drives,
                                       const TestRunOptions& options,
                                       const std::atomic<bool>& interrupted);

// The worst exit code of the reports (0 without any), by the order of the codes.
int WorstExitCode(const std::vector<DriveReport>& reports);

} // namespace corvane::cli
