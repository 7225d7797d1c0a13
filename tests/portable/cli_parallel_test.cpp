// Several drives tested in one run of the terminal front end: each worker on its own drive,
// each drive's verdict and figures in its report, messages whole in the shared output.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <thread>

#include "hosts/cli/cli_drive.h"
#include "hosts/cli/cli_front_end.h"
#include "hosts/cli/cli_summary.h"
#include "hosts/cli/cli_test_run.h"
#include "hosts/cli/cli_texts.h"
#include "os/sim/sim_bay_file.h"
#include "os/sim/sim_system.h"
#include "support/recording_drive_system.h"

namespace corvane {
namespace {

using cli::DriveReport;
using cli::Verdict;
using os::sim::VolumeOperation;

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

std::string ReadAll(std::FILE* f) {
    std::rewind(f);
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
        text.append(chunk, n);
    return text;
}

class CliParallelTest : public ::testing::Test {
protected:
    void SetUp() override {
        os::sim::BayLoad load = os::sim::LoadBayFile(CORVANE_SOURCE_DIR "/tests/cli/bay5.ini");
        ASSERT_TRUE(load.bay) << load.error;
        bay_ = std::move(load.bay);
        auto recording = std::make_unique<os::sim::RecordingDriveSystem>(*bay_);
        recording_ = recording.get();
        platform_.system = std::make_unique<os::sim::SimSystem>();
        platform_.drives = std::move(recording);
        out_ = std::tmpfile();
        ASSERT_NE(out_, nullptr);
    }
    void TearDown() override {
        if (out_ != nullptr)
            std::fclose(out_);
    }

    std::vector<DriveReport> Run(const std::vector<std::string>& names, int mode,
                                 const std::atomic<bool>& interrupted) {
        cli::CliConsole console(out_, cli::StatusLine::Plain, true);
        std::vector<cli::DriveIdentity> drives;
        for (const std::string& name : names)
            drives.push_back(IdentifyDrive(*platform_.drives, nullptr, name));
        cli::TestRunOptions options;
        options.mode = mode;
        options.answers = cli::TestAnswers{true, false};
        return cli::RunDriveTests(platform_, console, drives, options, interrupted);
    }

    std::unique_ptr<os::sim::SimDriveBay> bay_;
    os::sim::RecordingDriveSystem* recording_ = nullptr;
    os::Platform platform_;
    std::FILE* out_ = nullptr;
};

TEST_F(CliParallelTest, FiveDrivesInOneRunEachWorkerOnItsOwnDrive) {
    const std::atomic<bool> interrupted{false};
    const std::vector<std::string> names = {"E:", "F:", "G:", "H:", "I:"};
    const std::vector<DriveReport> reports = Run(names, 0, interrupted);
    ASSERT_EQ(reports.size(), 5u);

    struct Expected {
        Verdict verdict;
        std::optional<std::uint64_t> failureBytes;
        std::optional<std::uint64_t> realSize;
        std::string firstMessage;
    };
    const Expected expected[] = {
        {Verdict::Genuine, std::nullopt, std::nullopt, kGenuineVerdict},
        {Verdict::Fake, 0, 8 * kGiB, FirstSectorOverwrittenText(8 * kGiB)},
        {Verdict::Fake, 4 * kGiB, std::nullopt, WritePassVerifyFailureText(8388608, 4 * kGiB)},
        {Verdict::Faulty, 8 * kGiB, std::nullopt, VerifyFailureText(8 * kGiB)},
        {Verdict::Faulty, std::nullopt, std::nullopt, kWriteFailureAt},
    };
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const DriveReport& r = reports[i];
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(r.identity.name, names[i]);
        EXPECT_EQ(r.verdict(), expected[i].verdict);
        if (expected[i].failureBytes) {
            ASSERT_TRUE(r.failure);
            EXPECT_EQ(r.failure->bytes, *expected[i].failureBytes);
        }
        EXPECT_EQ(r.probableRealSize, expected[i].realSize);
        ASSERT_FALSE(r.messages.empty());
        EXPECT_EQ(r.messages[0].text.rfind(expected[i].firstMessage, 0), 0u) << r.messages[0].text;
        EXPECT_GT(r.blocksWritten, 0u);
    }
    // The genuine drive covered both passes; the wrap was found at the verify pass's first
    // block, which therefore was not verified.
    EXPECT_EQ(reports[0].blocksWritten, reports[0].blocksPerPass);
    EXPECT_EQ(reports[0].blocksVerified, reports[0].blocksPerPass);
    EXPECT_EQ(reports[1].blocksWritten, reports[1].blocksPerPass);
    EXPECT_EQ(reports[1].blocksVerified, 0u);
    EXPECT_EQ(cli::WorstExitCode(reports), kExitFailure);

    // Every volume operation came from a worker, and each worker touched one drive only, a
    // different one for each drive.
    std::map<std::thread::id, std::set<std::string>> drivesOfThread;
    std::map<std::string, std::set<std::thread::id>> threadsOfDrive;
    for (const VolumeOperation& op : recording_->Operations()) {
        EXPECT_NE(op.thread, std::this_thread::get_id()) << op.drive;
        drivesOfThread[op.thread].insert(op.drive);
        threadsOfDrive[op.drive].insert(op.thread);
    }
    EXPECT_EQ(drivesOfThread.size(), 5u);
    for (const auto& [thread, drives] : drivesOfThread)
        EXPECT_EQ(drives.size(), 1u);
    for (const std::string& name : names)
        EXPECT_EQ(threadsOfDrive[name].size(), 1u) << name;

    // A message of several lines stands whole, each line with its drive's name.
    const std::string out = ReadAll(out_);
    EXPECT_NE(out.find("G: Verify failure while writing sector 8388608 at 4.00 GB\nG:\nG: Write "
                       "error.\nG:\nG: This disk is either faulty or a fake size\n"),
              std::string::npos)
        << out;
    // No status line of a drive after its closing line.
    for (const std::string& name : names) {
        const std::size_t closing = out.find(name + " Completed");
        const std::size_t failed = out.find(name + " Failed");
        const std::size_t end = std::min(closing, failed);
        ASSERT_NE(end, std::string::npos) << name;
        EXPECT_EQ(out.find(name + "  write pass", end), std::string::npos) << name;
        EXPECT_EQ(out.find(name + "  verify pass", end), std::string::npos) << name;
    }
}

TEST_F(CliParallelTest, AnInterruptStopsEveryDriveAtItsNextBlock) {
    std::atomic<bool> interrupted{false};
    std::thread stopper([&interrupted] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        interrupted.store(true);
    });
    // The Full Test takes thousands of blocks per drive: none ends by itself before the stop.
    const std::vector<DriveReport> reports =
        Run({"E:", "F:", "G:", "H:"}, kFullTestMode, interrupted);
    stopper.join();
    for (const DriveReport& r : reports) {
        SCOPED_TRACE(r.identity.name);
        EXPECT_EQ(r.verdict(), Verdict::Stopped);
        EXPECT_LT(r.blocksWritten, r.blocksPerPass);
        EXPECT_EQ(cli::ClosingLineText(r).rfind(
                      "Stopped at block " + std::to_string(r.blocksWritten) + " of " +
                          std::to_string(r.blocksPerPass) + " of the write pass in ",
                      0),
                  0u)
            << cli::ClosingLineText(r);
    }
    EXPECT_EQ(cli::WorstExitCode(reports), kExitStopped);
}

} // namespace
} // namespace corvane
