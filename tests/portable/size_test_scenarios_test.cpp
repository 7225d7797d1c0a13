#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "drives/panel_text.h"
#include "os/last_error.h"
#include "os/sim/sim_error_codes.h"
#include "sizetest/size_test_texts.h"
#include "support/test_run_fixture.h"

namespace corvane {
namespace {

using os::sim::Beyond;
using os::sim::SimDriveConfig;
using testing::BayDrive;
using testing::kGiB;
using testing::kMiB;
using testing::TestRunFixture;

constexpr int kQuick = 0;
constexpr int kFull = kFullTestMode;

SimDriveConfig Fake(std::uint64_t size, std::uint64_t real, Beyond beyond,
                    std::uint32_t sector = 512) {
    SimDriveConfig c = BayDrive("E:", size, sector);
    c.real = real;
    c.beyond = beyond;
    return c;
}

// Every write of a run lands on a block position of its step, inside the reported size, on the
// drive under test and nowhere else.
void ExpectWritesInPlace(const TestRunFixture& run, const SimDriveConfig& drive, int mode) {
    const std::uint64_t total = drive.size / drive.sector;
    const std::uint64_t stepBytes = TestStep(mode, drive.sector, total) * drive.sector;
    const std::uint64_t block = kBlockSectors * drive.sector;
    for (const auto& w : run.Writes()) {
        ASSERT_EQ(w.drive, drive.name);
        ASSERT_EQ(w.offset % stepBytes, 0u) << w.offset;
        ASSERT_EQ(w.length, block);
        ASSERT_LE(w.offset + w.length, drive.size);
    }
}

struct Scenario {
    const char* name;
    SimDriveConfig drive;
    int mode;
    SizeTestOutcome outcome;
    std::vector<std::string> boxes; // after the confirmation
};

TEST(SizeTestScenarios, VerdictsAndMessagesOnSimulatedDrives) {
    const std::string ioText = "Input/output error (simulated)\n";
    const Scenario scenarios[] = {
        {"genuine 8 GB",
         BayDrive("E:", 8'000'000'000),
         kQuick,
         SizeTestOutcome::Genuine,
         {kGenuineVerdict}},
        {"16 GB wrapping at 8 GiB",
         Fake(16'000'000'000, 8 * kGiB, Beyond::Wrap),
         kQuick,
         SizeTestOutcome::FailureReported,
         {"Verify Failure at 0.00 B The firstsector has been overwritten. Real size is "
          "probably 8.00 GB"}},
        {"64 GB wrapping every 4 GiB, Full Test",
         Fake(64'000'000'000, 4 * kGiB, Beyond::Wrap),
         kFull,
         SizeTestOutcome::FailureReported,
         {"Verify Failure at 0.00 B The firstsector has been overwritten. Real size is "
          "probably 4.00 GB"}},
        {"drops writes past 3 GiB",
         Fake(16'000'000'000, 3 * kGiB, Beyond::Drop),
         kQuick,
         SizeTestOutcome::FailureReported,
         {WritePassVerifyFailureText(6291456, 3 * kGiB)}},
        {"fails writes past 3 GiB",
         Fake(16'000'000'000, 3 * kGiB, Beyond::Error),
         kQuick,
         SizeTestOutcome::FailureReported,
         {"Write Failure at 3.00 GB", ioText}},
        {"smaller than one step",
         BayDrive("E:", 1 * kMiB),
         kQuick,
         SizeTestOutcome::Genuine,
         {kGenuineVerdict}},
        {"4096-byte sectors",
         BayDrive("E:", 16'000'000'000, 4096),
         kQuick,
         SizeTestOutcome::Genuine,
         {kGenuineVerdict}},
        {"4096-byte sectors wrapping at 8 GiB",
         Fake(16'000'000'000, 8 * kGiB, Beyond::Wrap, 4096),
         kQuick,
         SizeTestOutcome::FailureReported,
         {"Verify Failure at 0.00 B The firstsector has been overwritten. Real size is "
          "probably 8.00 GB"}},
        {"genuine 2 TB",
         BayDrive("E:", 2'000'000'000'000),
         kQuick,
         SizeTestOutcome::Genuine,
         {kGenuineVerdict}},
        {"2 TB wrapping every 32 GiB",
         Fake(2'000'000'000'000, 32 * kGiB, Beyond::Wrap),
         kQuick,
         SizeTestOutcome::FailureReported,
         {"Verify Failure at 0.00 B The firstsector has been overwritten. Real size is "
          "probably 32.00 GB"}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        TestRunFixture run({s.drive, BayDrive("F:", 8'000'000'000)});
        run.System().errorTexts[os::sim::kSimErrorIo] = ioText;
        EXPECT_EQ(run.Run("E:", s.mode), s.outcome);
        std::vector<std::string> expected = {kConfirmText};
        expected.insert(expected.end(), s.boxes.begin(), s.boxes.end());
        EXPECT_EQ(run.BoxTexts(), expected);
        ExpectWritesInPlace(run, s.drive, s.mode);
        for (const std::string& d : run.Recording().TouchedDrives())
            EXPECT_EQ(d, "E:");
        // Every run ends idle with the bar full and the volume released.
        EXPECT_EQ(run.host.ProgressTexts().back(), kAllComplete);
        EXPECT_EQ(run.host.ProgressPos(), 100);
        EXPECT_TRUE(run.host.Enabled(kIdcStartTest));
        EXPECT_FALSE(run.host.Enabled(kIdcStopTest));
        EXPECT_EQ(run.Control().m_bTestRunning.load(), 0);
        EXPECT_EQ(run.Bay().Drive("E:")->OpenHandles(), 0);
    }
}

TEST(SizeTestScenarios, FailingDrivesBeyondTheirCapacity) {
    // A write cache larger than one block hides dropped writes from the immediate read-back;
    // the verify pass finds the first lost block.
    {
        SimDriveConfig cached = Fake(16'000'000'000, 1 * kGiB, Beyond::Drop);
        cached.cacheSectors = 64;
        TestRunFixture run({cached});
        EXPECT_EQ(run.Run("E:", kQuick), SizeTestOutcome::FailureReported);
        EXPECT_EQ(run.BoxTexts(),
                  (std::vector<std::string>{kConfirmText, "Verify Failure at 1.00 GB"}));
        ExpectWritesInPlace(run, cached, kQuick);
    }
    // A drive that is gone mid-run: its writes fail from then on.
    {
        SimDriveConfig vanishing = BayDrive("E:", 16'000'000'000);
        vanishing.vanishAfter = 40;
        TestRunFixture run({vanishing, BayDrive("F:", 8'000'000'000)});
        run.System().errorTexts[os::sim::kSimErrorGone] = "The device is not connected.\n";
        EXPECT_EQ(run.Run("E:", kQuick), SizeTestOutcome::FailureReported);
        const auto boxes = run.BoxTexts();
        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_EQ(boxes[1].rfind(kWriteFailureAt, 0), 0u) << boxes[1];
        EXPECT_EQ(boxes[2], "The device is not connected.\n");
        ExpectWritesInPlace(run, vanishing, kQuick);
        for (const std::string& d : run.Recording().TouchedDrives())
            EXPECT_EQ(d, "E:");
        EXPECT_TRUE(run.host.Enabled(kIdcStartTest));
    }
    // A block that cannot be read back was never checked, so it cannot pass: counting it as
    // good would call a drive that loses everything "genuine". It is a failure at its
    // position, followed by the system's text, and the run ends without a verdict.
    {
        SimDriveConfig unreadable = BayDrive("E:", 16'000'000'000);
        unreadable.readErrors.push_back({262144, 262147});
        TestRunFixture run({unreadable});
        run.System().errorTexts[os::sim::kSimErrorIo] = "Input/output error (simulated)\n";
        EXPECT_EQ(run.Run("E:", kFull), SizeTestOutcome::FailureReported);
        EXPECT_EQ(run.BoxTexts(),
                  (std::vector<std::string>{kConfirmText, "Verify Failure at 128.00 MB",
                                            "Input/output error (simulated)\n"}));
    }
}

// Passes on a volume and fails, or shortens, the read of one block: the first read at
// failOffset when inVerifyPass is false, the second (the verify pass's) when it is true.
class OneBadRead : public os::IRawVolume {
public:
    enum class Fault { Fail, Short };
    OneBadRead(std::unique_ptr<os::IRawVolume> inner, std::uint64_t offset, bool inVerifyPass,
               Fault fault)
        : inner_(std::move(inner)), offset_(offset), readsBefore_(inVerifyPass ? 1 : 0),
          fault_(fault) {}

    bool Seek(std::uint64_t offset) override {
        position_ = offset;
        return inner_->Seek(offset);
    }
    os::IoResult Read(void* buffer, std::uint32_t length) override {
        if (position_ != offset_ || readsAt_++ != readsBefore_)
            return inner_->Read(buffer, length);
        if (fault_ == Fault::Fail) {
            os::SetLastOsError(os::sim::kSimErrorIo);
            return os::IoResult{false, 0, os::sim::kSimErrorIo};
        }
        os::IoResult r = inner_->Read(buffer, length / 2);
        return r;
    }
    os::IoResult Write(const void* buffer, std::uint32_t length) override {
        return inner_->Write(buffer, length);
    }
    bool Flush() override { return inner_->Flush(); }
    bool Lock() override { return inner_->Lock(); }
    bool Dismount() override { return inner_->Dismount(); }
    bool Unlock() override { return inner_->Unlock(); }

private:
    std::unique_ptr<os::IRawVolume> inner_;
    std::uint64_t offset_;
    int readsBefore_;
    Fault fault_;
    std::uint64_t position_ = 0;
    int readsAt_ = 0;
};

TEST(SizeTestScenarios, BlocksThatCannotBeReadBackAreFailures) {
    using Fault = OneBadRead::Fault;
    const std::string ioText = "Input/output error (simulated)\n";
    const std::string goneText = "The device is not connected.\n";
    constexpr std::uint64_t kSize = 4'000'000'000; // Quick: 29 blocks a pass; Full: 3,814
    constexpr std::uint64_t kBadSector = 6291456;  // 3 GiB: a block position of both modes
    struct Case {
        const char* name;
        std::function<void(SimDriveConfig&, int mode)> drive; // faults of the bay drive
        std::optional<std::pair<bool, Fault>> oneRead;        // a fault of one read at 3 GiB
        std::vector<std::string> boxes;                       // after the confirmation
        bool verifyPassReached;
    };
    const Case cases[] = {
        {"every read fails",
         [](SimDriveConfig& d, int) {
             d.readErrors.push_back({0, kSize / 512 - 1});
         },
         std::nullopt,
         {"Verify Failure at 0.00 B", ioText},
         false},
        {"one unreadable block in the write pass",
         [](SimDriveConfig& d, int) {
             d.readErrors.push_back({kBadSector, kBadSector});
         },
         std::nullopt,
         {"Verify Failure at 3.00 GB", ioText},
         false},
        {"one unreadable block in the verify pass",
         [](SimDriveConfig&, int) {},
         std::make_pair(true, Fault::Fail),
         {"Verify Failure at 3.00 GB", ioText},
         true},
        {"a short read in the write pass",
         [](SimDriveConfig&, int) {},
         std::make_pair(false, Fault::Short),
         {"Verify Failure at 3.00 GB"},
         false},
        {"a short read in the verify pass",
         [](SimDriveConfig&, int) {},
         std::make_pair(true, Fault::Short),
         {"Verify Failure at 3.00 GB"},
         true},
        {"the drive vanishes between the passes",
         [](SimDriveConfig& d, int mode) {
             const std::uint64_t total = kSize / 512;
             d.vanishAfter = 2 * (total / TestStep(mode, 512, total)); // a write and a read a block
         },
         std::nullopt,
         {"Verify Failure at 0.00 B", goneText},
         true},
    };
    for (const Case& c : cases) {
        for (int mode : {kQuick, kFull}) {
            SCOPED_TRACE(std::string(c.name) + (mode == kFull ? ", Full Test" : ", Quick Test"));
            SimDriveConfig drive = BayDrive("E:", kSize);
            c.drive(drive, mode);
            TestRunFixture run({drive, BayDrive("F:", 8'000'000'000)});
            run.System().errorTexts[os::sim::kSimErrorIo] = ioText;
            run.System().errorTexts[os::sim::kSimErrorGone] = goneText;
            if (c.oneRead) {
                const auto [inVerify, fault] = *c.oneRead;
                run.OverrideVolume([inVerify, fault](std::unique_ptr<os::IRawVolume> v) {
                    return std::make_unique<OneBadRead>(std::move(v), kBadSector * 512, inVerify,
                                                        fault);
                });
            }
            EXPECT_EQ(run.Run("E:", mode), SizeTestOutcome::FailureReported);
            std::vector<std::string> expected = {kConfirmText};
            expected.insert(expected.end(), c.boxes.begin(), c.boxes.end());
            EXPECT_EQ(run.BoxTexts(), expected);
            // The failed block is plotted, as a mismatch is; the verify pass shows only when
            // the write pass got through.
            const auto events = run.host.MapEvents();
            EXPECT_EQ(std::find(events.begin(), events.end(), "verify brush") != events.end(),
                      c.verifyPassReached);
            EXPECT_GE(run.host.Plots(), 1u);
            ExpectWritesInPlace(run, drive, mode);
            for (const std::string& d : run.Recording().TouchedDrives())
                EXPECT_EQ(d, "E:");
            EXPECT_EQ(run.host.ProgressTexts().back(), kAllComplete);
            EXPECT_TRUE(run.host.Enabled(kIdcStartTest));
            EXPECT_FALSE(run.host.Enabled(kIdcStopTest));
            EXPECT_EQ(run.Control().m_bTestRunning.load(), 0);
            EXPECT_EQ(run.Bay().Drive("E:")->OpenHandles(), 0);
        }
    }
}

TEST(SizeTestScenarios, QuickTestOfSixteenBillionBytesFollowsTheTable) {
    TestRunFixture run({BayDrive("E:", 16'000'000'000)});
    ASSERT_EQ(run.Run("E:", kQuick), SizeTestOutcome::Genuine);
    // TS 31,250,000, step 262,144: 119 blocks a pass; PS 3,472: 75 plots a block.
    const auto writes = run.Writes();
    ASSERT_EQ(writes.size(), 119u);
    EXPECT_EQ(writes.back().offset, 118ULL * 262144 * 512);
    const auto calls = run.host.AddPlotCalls();
    ASSERT_EQ(calls.size(), 2u * 119);
    for (std::uint64_t n : calls)
        EXPECT_EQ(n, 75u);
    ASSERT_EQ(run.host.PlotsPerPass().size(), 1u);
    EXPECT_EQ(run.host.PlotsPerPass()[0], 8925u); // the write pass, cleared between the passes
    EXPECT_EQ(run.host.Plots(), 8925u);           // the verify pass
    const auto progress = run.host.ProgressTexts();
    EXPECT_EQ(progress[0], "Writing Data 0% Complete");
    EXPECT_EQ(progress[118], "Writing Data 99% Complete");
    EXPECT_EQ(progress[119], "Verify 0% Complete");
    EXPECT_EQ(run.host.Text(kIdcTestingSectorLabel), kVerifyingSectorLabel);
    EXPECT_EQ(run.host.Text(kIdcAmountTestedLabel), kAmountVerifiedLabel);
    EXPECT_EQ(run.host.Text(kIdcTestingSector), std::to_string(118ULL * 262144));
    EXPECT_EQ(run.host.Text(kIdcSectorsRemaining), "0");
    EXPECT_EQ(run.host.Text(kIdcAmountTested), "14.90 GB");
    EXPECT_EQ(run.host.Text(kIdcAmountRemaining), kZeroGb);
    const auto events = run.host.MapEvents();
    EXPECT_EQ(events, (std::vector<std::string>{"reset", "write brush", "clear", "verify brush"}));
}

TEST(SizeTestScenarios, PercentagesOfATinyVolumePassOneHundredAsComputed) {
    // TS 19,999 with the 4,096 step: four blocks, PD 1.
    TestRunFixture run({BayDrive("E:", 19999ULL * 512)});
    ASSERT_EQ(run.Run("E:", kQuick), SizeTestOutcome::Genuine);
    const auto progress = run.host.ProgressTexts();
    ASSERT_GE(progress.size(), 4u);
    EXPECT_EQ(progress[3], "Writing Data 163% Complete");
}

TEST(SizeTestScenarios, VolumesWithoutDivisorsRunSoundly) {
    // Under 10,000 sectors there is no percentage divisor, under 9,000 no plot size.
    for (std::uint64_t sectors : {4096ULL, 8191ULL, 8999ULL, 9999ULL}) {
        SCOPED_TRACE(sectors);
        TestRunFixture run({BayDrive("E:", sectors * 512)});
        ASSERT_EQ(run.Run("E:", kQuick), SizeTestOutcome::Genuine);
        const auto progress = run.host.ProgressTexts();
        const std::size_t blocks = static_cast<std::size_t>(sectors / 4096);
        ASSERT_EQ(progress.size(), 2 * blocks + 1);
        // After the last block of a pass the share is what the blocks covered.
        EXPECT_EQ(progress[blocks - 1],
                  ProgressText(TestPass::Write, blocks * 4096 * 100 / sectors));
        // The map's squares are shared out: never more than the map holds.
        EXPECT_GT(run.host.PlotsPerPass()[0], 0u);
        EXPECT_LE(run.host.PlotsPerPass()[0], 9000u);
    }
}

TEST(SizeTestScenarios, StopDuringTheWritePassSkipsTheVerifyPass) {
    TestRunFixture run({BayDrive("E:", 16'000'000'000)});
    run.host.onProgress = [&run](TestPass pass, std::uint64_t percent) {
        if (pass == TestPass::Write && percent >= 20)
            run.Control().OnStopTest();
    };
    ASSERT_EQ(run.Run("E:", kQuick), SizeTestOutcome::Aborted);
    EXPECT_EQ(run.BoxTexts(), (std::vector<std::string>{kConfirmText, kAbortVerdict}));
    EXPECT_EQ(run.host.Boxes()[1].caption, kFormatCaption);
    EXPECT_EQ(run.host.ProgressTexts().back(), kAllComplete);
    EXPECT_EQ(run.host.Text(kIdcAmountTested), FormatSize(31250000ULL * 512));
    for (const std::string& e : run.host.MapEvents())
        EXPECT_NE(e, "verify brush");
    EXPECT_LT(run.Writes().size(), 119u / 4);
}

TEST(SizeTestScenarios, FormatOfferGivesTheDriveNumber) {
    TestRunFixture run({BayDrive("G:", 8'000'000'000)});
    run.host.answers.push_back(kIdYes); // after the confirmation: the format offer
    ASSERT_EQ(run.Run("G:", kQuick), SizeTestOutcome::Genuine);
    EXPECT_EQ(run.host.Formatted(), std::vector<int>{6});
}

TEST(SizeTestScenarios, SectorSizeGrowingBeforeTheRunIsRefusedAtTheFirstBlock) {
    TestRunFixture run({BayDrive("E:", 8'000'000'000)});
    run.System().errorTexts[0] = "";
    // Start Test reads 512-byte sectors; the run's own request finds 4096-byte ones.
    int calls = 0;
    run.OverrideGeometry([&calls](os::IDriveSystem& inner, const std::string& d) {
        auto g = inner.Geometry(d);
        if (g && ++calls > 1)
            g->bytesPerSector = 4096;
        return g;
    });
    ASSERT_EQ(run.Run("E:", kQuick), SizeTestOutcome::FailureReported);
    const auto boxes = run.BoxTexts();
    ASSERT_GE(boxes.size(), 3u);
    EXPECT_EQ(boxes[1], "Error, supplied buffer is smaller than write size request");
    EXPECT_EQ(boxes[2], "Write Failure at 0.00 B");
    EXPECT_TRUE(run.Writes().empty());
}

TEST(RunControl, ZeroSectorsAndDeclinedConfirmation) {
    TestRunFixture run({BayDrive("E:", 8'000'000'000)});
    // A drive without a medium: nothing but the message.
    EXPECT_EQ(run.Run("X:", kQuick), std::nullopt);
    EXPECT_EQ(run.BoxTexts(), std::vector<std::string>{kZeroSectorsText});
    EXPECT_TRUE(run.host.MapEvents().empty());
    EXPECT_EQ(run.host.Text(kIdcTestingSector), "");
    // Declined: the fields read "0", the map is empty, Stop disabled, Start enabled.
    run.host.answers.clear();
    EXPECT_EQ(run.Run("E:", kQuick, false), std::nullopt);
    EXPECT_EQ(run.host.Text(kIdcTestingSector), "0");
    EXPECT_EQ(run.host.Text(kIdcAmountRemaining), "0");
    EXPECT_EQ(run.host.MapEvents(), std::vector<std::string>{"reset"});
    EXPECT_FALSE(run.host.Enabled(kIdcStopTest));
    EXPECT_TRUE(run.host.Enabled(kIdcStartTest));
    EXPECT_TRUE(run.Writes().empty());
}

TEST(RunControl, SecondStartWaitsForTheFirstWorkerAndCloseWaitsForIt) {
    TestRunFixture run({BayDrive("E:", 16'000'000'000)});
    std::atomic<int> secondStarts{0};
    // While the first run writes, a second Start Test is pressed: it must not start a run.
    run.host.onProgress = [&](TestPass pass, std::uint64_t percent) {
        if (pass == TestPass::Write && percent >= 50 && secondStarts.fetch_add(1) == 0) {
            run.Control().OnStopTest(); // Start Test is enabled again at once
            CDevice other;
            other.m_drive = "E:";
            run.Control().OnStartTest(&other, run.sectorSize, false);
        }
    };
    ASSERT_EQ(run.Run("E:", kQuick), SizeTestOutcome::Aborted);
    EXPECT_EQ(run.BoxTexts(), (std::vector<std::string>{kConfirmText, kAbortVerdict}));
}

TEST(RunControl, ClosingTheWindowStopsTheRunAndShowsNothingMore) {
    TestRunFixture run({BayDrive("E:", 16'000'000'000)});
    std::atomic<bool> reached{false};
    // The worker holds at 30% of the write pass until the window has begun to close.
    run.host.onProgress = [&](TestPass pass, std::uint64_t percent) {
        if (pass == TestPass::Write && percent >= 30 && !reached.exchange(true)) {
            while (run.Control().m_bTestRunning.load() != 0)
                std::this_thread::yield();
        }
    };
    run.host.answers.push_back(kIdYes);
    CDevice device;
    device.m_drive = "E:";
    run.Control().OnStartTest(&device, run.sectorSize, false);
    while (!reached.load())
        std::this_thread::yield();
    run.Control().OnCloseWindow(); // returns only once the worker has ended
    EXPECT_FALSE(run.Control().WorkerActive());
    EXPECT_EQ(run.Bay().Drive("E:")->OpenHandles(), 0);
    EXPECT_EQ(run.BoxTexts(), std::vector<std::string>{kConfirmText});
    EXPECT_EQ(run.Control().LastOutcome(), SizeTestOutcome::Aborted);
}

TEST(RunControl, ModeChangeDuringARunChangesNothingInIt) {
    TestRunFixture run({BayDrive("E:", 16'000'000'000)});
    run.host.onProgress = [&run](TestPass, std::uint64_t) { run.Control().OnTestMode(kFull); };
    ASSERT_EQ(run.Run("E:", kQuick), SizeTestOutcome::Genuine);
    EXPECT_EQ(run.Writes().size(), 119u); // Quick steps throughout
}

TEST(RunControl, WorkerWithoutAControlOnlyLogs) {
    EXPECT_EQ(CTestRunControl::SizeTestThread(nullptr), 1u);
}

} // namespace
} // namespace corvane
