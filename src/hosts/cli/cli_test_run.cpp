#include "hosts/cli/cli_test_run.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "drives/device.h"
#include "hosts/cli/cli_front_end.h"
#include "hosts/cli/cli_texts.h"
#include "sizetest/run_control.h"

namespace corvane::cli {
namespace {

constexpr auto kPoll = std::chrono::milliseconds(20);

// One drive's run: its report, the view that fills it and the control that owns its worker.
struct DriveRun {
    DriveRun(os::Platform& platform, CliConsole& console, const DriveIdentity& identity,
             const TestRunOptions& options)
        : slot(console.AddDrive(identity.name)), view(options.answers, console, slot, report),
          control(platform, view) {
        report.identity = identity;
        report.mode = options.mode;
        device.m_drive = identity.name;
        sectorSize.store(identity.sectorSize);
    }

    int slot;
    DriveReport report;
    CliTestView view;
    CTestRunControl control;
    CDevice device;
    std::atomic<std::uint32_t> sectorSize{0};
    std::chrono::steady_clock::time_point started{};
    bool done = false;
};

void Finish(DriveRun& run, CliConsole& console, const TestRunOptions& options) {
    run.done = true;
    run.report.outcome = run.control.LastOutcome();
    if (!run.view.Ended())
        run.report.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - run.started).count();
    if (!run.report.outcome)
        run.report.notTested = "the drive reports no sectors";
    else if (*run.report.outcome == SizeTestOutcome::NoVolume)
        run.report.notTested = "the drive could not be opened for the test";
    else if (*run.report.outcome == SizeTestOutcome::NoBuffer)
        run.report.notTested = "no memory for the test block";
    console.EndStatus(run.slot);
    if (options.closingLines)
        console.Message(run.slot, ClosingLineText(run.report));
}

} // namespace

std::vector<DriveReport> RunDriveTests(os::Platform& platform, CliConsole& console,
                                       const std::vector<DriveIdentity>& drives,
                                       const TestRunOptions& options,
                                       const std::atomic<bool>& interrupted) {
    std::vector<std::unique_ptr<DriveRun>> runs;
    for (const DriveIdentity& identity : drives)
        runs.push_back(std::make_unique<DriveRun>(platform, console, identity, options));
    for (auto& run : runs) {
        run->control.OnTestMode(options.mode);
        run->started = std::chrono::steady_clock::now();
        run->control.OnStartTest(&run->device, run->sectorSize, false);
    }
    bool stopped = false;
    for (std::size_t left = runs.size(); left > 0;) {
        if (interrupted.load() && !stopped) {
            for (auto& run : runs)
                run->control.OnStopTest(); // Stop Test: each run ends at its next block
            stopped = true;
        }
        for (auto& run : runs) {
            if (run->done || !run->control.WaitForWorker(runs.size() == 1 ? 5 * kPoll : kPoll))
                continue;
            Finish(*run, console, options);
            --left;
        }
    }
    std::vector<DriveReport> reports;
    for (auto& run : runs)
        reports.push_back(run->report);
    return reports;
}

int WorstExitCode(const std::vector<DriveReport>& reports) {
    int worst = kExitOk;
    for (const DriveReport& r : reports)
        worst = std::max(worst, r.exitCode());
    return worst;
}

} // namespace corvane::cli
