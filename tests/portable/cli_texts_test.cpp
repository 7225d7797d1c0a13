// The terminal's own words: counts, times, the status line's width and the closing line.
#include <gtest/gtest.h>

#include "hosts/cli/cli_format_hint.h"
#include "hosts/cli/cli_texts.h"

namespace corvane::cli {
namespace {

TEST(CliTexts, CountsAndTimesInWords) {
    EXPECT_EQ(CountText(0, "block"), "0 blocks");
    EXPECT_EQ(CountText(1, "block"), "1 block");
    EXPECT_EQ(CountText(2, "block"), "2 blocks");
    EXPECT_EQ(DurationText(0.049), "0.05 s");
    EXPECT_EQ(DurationText(185), "3 min 05 s");
    EXPECT_EQ(DurationText(2 * 3600 + 7 * 60 + 9), "2 h 07 min");
    EXPECT_EQ(ClockText(7), "0:07");
    EXPECT_EQ(ClockText(3723), "1:02:03");
    EXPECT_EQ(RateText(12'345'678), "12.3 MB/s");
}

TEST(CliTexts, StatusLineFromBlocksDoneFitsTheTerminal) {
    StatusFigures f;
    f.drive = "sdb";
    f.blocksPerPass = 100;
    f.blocksWritten = 50; // a quarter of both passes in 10 s: 30 s left
    f.bytesMoved = 20'000'000;
    f.seconds = 10;
    EXPECT_EQ(StatusLineText(f, 120), "sdb  write pass 50%  2.0 MB/s  0:10 elapsed  0:30 left");
    f.pass = TestPass::Verify;
    f.blocksWritten = 100;
    f.blocksVerified = 100;
    EXPECT_EQ(StatusLineText(f, 120), "sdb  verify pass 100%  2.0 MB/s  0:10 elapsed  0:00 left");
    f.drive = std::string(100, 'x');
    for (int columns : {20, 80, 120})
        EXPECT_EQ(StatusLineText(f, columns).size(), static_cast<std::size_t>(columns - 1));
}

TEST(CliTexts, TheClosingLineSaysWhatHappened) {
    DriveReport r;
    r.identity.reportedSize = 8'000'000'000;
    r.blocksPerPass = 119;
    r.stepSectors = 262144;
    r.seconds = 2.5;
    struct Case {
        SizeTestOutcome outcome;
        std::uint64_t written, verified;
        std::optional<FailurePoint> failure;
        std::string line;
    };
    const Case cases[] = {
        {SizeTestOutcome::Genuine, 119, 119, std::nullopt,
         "Completed in 2.50 s: 119 blocks written, 119 blocks verified, 7.45 GB tested"},
        {SizeTestOutcome::Aborted, 1, 0, std::nullopt,
         "Stopped at block 1 of 119 of the write pass in 2.50 s: 1 block written, 0 blocks "
         "verified"},
        {SizeTestOutcome::FailureReported, 32, 0,
         FailurePoint{TestPass::Write, TestFailure::Mismatch, 8388608, 4294967296},
         "Failed at 4.00 GB (block 33 of 119 of the write pass) in 2.50 s: 32 blocks written, 0 "
         "blocks verified"},
    };
    for (const Case& c : cases) {
        r.outcome = c.outcome;
        r.blocksWritten = c.written;
        r.blocksVerified = c.verified;
        r.failure = c.failure;
        EXPECT_EQ(ClosingLineText(r), c.line);
    }
    r.outcome = SizeTestOutcome::NoVolume;
    r.notTested = "the drive could not be opened for the test";
    EXPECT_EQ(ClosingLineText(r), "Not tested: the drive could not be opened for the test");
}

TEST(CliTexts, FirstPartitionOfEveryDeviceName) {
    EXPECT_EQ(FirstPartitionPath("/dev/sdb"), "/dev/sdb1");
    EXPECT_EQ(FirstPartitionPath("/dev/mmcblk0"), "/dev/mmcblk0p1");
    EXPECT_EQ(FirstPartitionPath("/dev/nvme0n1"), "/dev/nvme0n1p1");
    EXPECT_EQ(FirstPartitionPath("/dev/loop7"), "/dev/loop7p1");
    EXPECT_NE(FormatHintText("mmcblk0").find("sudo mkfs.exfat /dev/mmcblk0p1 "), std::string::npos);
    EXPECT_EQ(FormatHintText("E:"), "To format the drive again: format E: /FS:exFAT /Q");
}

} // namespace
} // namespace corvane::cli
