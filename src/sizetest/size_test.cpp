#include "sizetest/size_test.h"

#include <optional>

#include "drives/drive_queries.h"
#include "drives/drive_state.h"
#include "drives/panel_text.h"
#include "log/error_text.h"
#include "os/aligned_buffer.h"
#include "os/last_error.h"
#include "sizetest/block_stamp.h"
#include "sizetest/raw_sector_access.h"

namespace corvane {
namespace {

constexpr std::uint64_t kQuickLargeDrive = 0x200000; // sectors: 1 GiB at 512 bytes
constexpr std::uint64_t kQuickMediumDrive = 0x80000;
constexpr std::uint64_t kQuickSmallDrive = 0x20000;

// The run's arithmetic, fixed at its start.
struct Plan {
    std::uint32_t ss = 0;      // sector size of the buffer and the total
    std::uint32_t fieldSs = 0; // sector size after the run's geometry refresh
    std::uint64_t ts = 0;      // total sectors
    std::uint64_t pd = 0;      // percentage divisor
    std::uint64_t ps = 0;      // sectors per plot
    std::uint64_t step = 0;
    std::uint64_t nb = 0; // blocks per pass

    // Percent done at p. Volumes under 10,000 sectors have no divisor: the share is then
    // worked out directly.
    std::uint64_t Percent(std::uint64_t p) const {
        if (pd != 0)
            return (p / 100) / pd;
        return ts == 0 ? 100 : p * 100 / ts;
    }
    // Plots for acc sectors stepped over; 0 while less than one plot's worth. Volumes under
    // 9,000 sectors have no plot size: the map's 9,000 squares are then shared out directly.
    std::uint64_t Plots(std::uint64_t acc) const {
        if (ps != 0)
            return acc >= ps ? acc / ps : 0;
        return ts == 0 ? 0 : acc * kMapPlots / ts;
    }
};

class SizeTestBody {
public:
    SizeTestBody(SizeTestRun& run, ISizeTestView& view) : run_(run), view_(view) {}

    SizeTestOutcome Run() {
        plan_.ss = run_.sectorSize.load();
        const std::uint64_t size = GetDriveSize(run_.drives, run_.drive, run_.sectorSize);
        plan_.fieldSs = run_.sectorSize.load();
        plan_.ts = plan_.ss == 0 ? 0 : size / plan_.ss;
        plan_.pd = (plan_.ts / 100) / 100;
        plan_.ps = plan_.ts / kMapPlots;
        view_.ShowRunStart();

        buffer_ = os::AlignedBuffer(std::size_t{run_.blockSectors} * plan_.ss);
        if (!buffer_) {
            Box(kAllocFailedText, kMbOk);
            return SizeTestOutcome::NoBuffer;
        }
        plan_.step = TestStep(run_.testMode, plan_.fieldSs, plan_.ts);
        plan_.nb = plan_.step == 0 ? 0 : plan_.ts / plan_.step;
        view_.ShowSectorsRemainingUnknown();
        view_.ShowPlan(plan_.nb, plan_.step);

        volume_ = OpenTestVolume(run_.drives, run_.drive);
        if (!volume_)
            return SizeTestOutcome::NoVolume;

        if (WritePass())
            VerifyPass();
        return EndSteps();
    }

private:
    std::int32_t BufferLength() const { return static_cast<std::int32_t>(buffer_.size()); }
    bool Running() const { return run_.testRunning.load() != 0; }

    // A box with the application's name as caption unless one is given; none once the
    // window is gone.
    int Box(const std::string& text, std::uint32_t style, const char* caption = "") {
        if (run_.viewClosed.load())
            return kIdNo;
        return view_.MessageBox(text, caption, style);
    }

    void PlotRule() {
        if (const std::uint64_t n = plan_.Plots(acc_); n > 0) {
            view_.AddPlots(n);
            view_.RefreshMap();
            acc_ = 0;
        }
    }

    // Returns true when the verify pass is to follow.
    bool WritePass() {
        view_.UseWriteBrush();
        view_.ShowPass(TestPass::Write);
        pass_ = TestPass::Write;
        std::uint64_t p = 0;
        for (std::uint64_t block = 0; block < plan_.nb; ++block) {
            if (!Running())
                return false;
            FillBlockStamp(buffer_.data(), buffer_.size(), p);
            if (p + run_.blockSectors > plan_.ts)
                return true;
            if (WriteSectors(*volume_, p, run_.blockSectors, buffer_.data(), BufferLength(),
                             plan_.fieldSs, view_) <= 0) {
                ReportWriteFailure(p);
                return false;
            }
            const std::int32_t read = ReadBack(p);
            if (!ReadWhole(read)) {
                ReportReadFailure(p, read);
                return false;
            }
            if (CheckBlockStamp(buffer_.data(), static_cast<std::size_t>(read), p)) {
                view_.ShowFailure(TestPass::Write, TestFailure::Mismatch, p, p * plan_.fieldSs);
                Box(WritePassVerifyFailureText(p, p * plan_.fieldSs), kMbOk);
                view_.AddPlots(1);
                failureReported_ = true;
                return false;
            }
            acc_ += plan_.step;
            PlotRule();
            view_.ShowPosition(p, plan_.ts, plan_.fieldSs);
            p += plan_.step;
            view_.ShowProgress(TestPass::Write, plan_.Percent(p));
        }
        return true;
    }

    void VerifyPass() {
        view_.ClearPlots();
        view_.RefreshMap();
        view_.UseVerifyBrush();
        acc_ = 0;
        view_.ShowPass(TestPass::Verify);
        pass_ = TestPass::Verify;
        std::uint64_t p = 0;
        bool stopAfterThisBlock = false;
        for (std::uint64_t block = 0; block < plan_.nb; ++block) {
            if (!Running())
                return;
            const std::int32_t read = ReadBack(p);
            view_.ShowPosition(p, plan_.ts, plan_.fieldSs);
            if (!ReadWhole(read)) {
                ReportReadFailure(p, read);
                stopAfterThisBlock = true;
            } else if (const auto found =
                           CheckBlockStamp(buffer_.data(), static_cast<std::size_t>(read), p)) {
                ReportVerifyFailure(p, *found);
                stopAfterThisBlock = true;
            }
            acc_ += plan_.step;
            PlotRule();
            p += plan_.step;
            if (stopAfterThisBlock)
                return;
            view_.ShowProgress(TestPass::Verify, plan_.Percent(p));
        }
    }

    void ReportWriteFailure(std::uint64_t p) {
        const std::string where = kWriteFailureAt + FormatSize(p * plan_.fieldSs);
        std::string systemText;
        FormatLastError(run_.system, systemText); // before any box can change the last error
        view_.ShowFailure(TestPass::Write, TestFailure::WriteRefused, p, p * plan_.fieldSs);
        Box(where, kMbOk);
        Box(systemText, kMbOk);
        failureReported_ = true;
    }

    // Reads block p back. The last error is cleared first, so that after a short read it holds
    // only what the system said about this read.
    std::int32_t ReadBack(std::uint64_t p) {
        os::SetLastOsError(0);
        return ReadSectors(*volume_, p, run_.blockSectors, buffer_.data(), BufferLength(),
                           plan_.fieldSs);
    }

    // A block is vouched for only when all of it came back: a read that failed, or that
    // returned less than the block, leaves bytes that were never compared.
    bool ReadWhole(std::int32_t read) const {
        return read > 0 && std::int64_t{read} >= std::int64_t{run_.blockSectors} * plan_.fieldSs;
    }

    // A block that cannot be read back is a failure at its position, in either pass, and
    // never the first-sector sentence: there is no stamp to name a size from. The system's
    // text follows as it does for a write failure; a short read that the system did not call
    // an error has none to show.
    void ReportReadFailure(std::uint64_t p, std::int32_t read) {
        std::string systemText;
        const bool systemError = read <= 0 || os::LastOsError() != 0;
        if (systemError)
            FormatLastError(run_.system, systemText); // before any box can change the last error
        view_.ShowFailure(pass_, TestFailure::ReadRefused, p, p * plan_.fieldSs);
        Box(VerifyFailureText(p * plan_.fieldSs), kMbOk);
        if (systemError)
            Box(systemText, kMbOk);
        failureReported_ = true;
        view_.AddPlots(1);
    }

    void ReportVerifyFailure(std::uint64_t p, std::uint32_t stamp) {
        std::string text = VerifyFailureText(p * plan_.fieldSs);
        view_.ShowFailure(TestPass::Verify, TestFailure::Mismatch, p, p * plan_.fieldSs);
        if (p == 0) {
            const std::uint64_t realSize = ProbableRealSize(stamp);
            view_.ShowProbableRealSize(realSize);
            text = FirstSectorOverwrittenText(realSize);
        }
        Box(text, kMbOk);
        failureReported_ = true;
        view_.AddPlots(1);
    }

    // The first block holds the stamp of a later block that aliased onto it. A drive that wraps
    // several times leaves the stamp of its last alias there, so the smallest block position
    // above 0 that reads back the same stamp is the real size. Only reads are made; when no
    // such block turns up, the stamp itself stands for the size.
    std::uint64_t ProbableRealSize(std::uint32_t stamp) {
        const std::uint64_t fromStamp = std::uint64_t{stamp} * plan_.fieldSs;
        for (std::uint64_t q = plan_.step, block = 1; block < plan_.nb && Running();
             q += plan_.step, ++block) {
            const std::int32_t read = ReadSectors(*volume_, q, run_.blockSectors, buffer_.data(),
                                                  BufferLength(), plan_.fieldSs);
            if (read > 0 && BlockHoldsStamp(buffer_.data(), static_cast<std::size_t>(read), stamp))
                return q * plan_.fieldSs;
            if (static_cast<std::uint32_t>(q) == stamp)
                break; // the stamp's own position: nothing smaller aliases
        }
        return fromStamp;
    }

    SizeTestOutcome EndSteps() {
        view_.ShowRunEnd(plan_.ts, plan_.fieldSs);
        buffer_ = os::AlignedBuffer();
        volume_->Unlock();
        volume_.reset();

        SizeTestOutcome outcome = SizeTestOutcome::FailureReported;
        if (!failureReported_) {
            const bool completed = Running();
            outcome = completed ? SizeTestOutcome::Genuine : SizeTestOutcome::Aborted;
            if (Box(completed ? kGenuineVerdict : kAbortVerdict, kMbYesNo | kMbIconExclamation,
                    kFormatCaption) == kIdYes) {
                view_.LaunchFormatter(DriveNumber(run_.drive), run_.drive);
            }
        }
        run_.testRunning.store(0);
        if (!run_.viewClosed.load())
            view_.ShowIdleButtons();
        return outcome;
    }

    static int DriveNumber(const std::string& drive) {
        if (drive.empty())
            return -1;
        const unsigned char c = static_cast<unsigned char>(drive[0]);
        return c > 0x60 ? c - 'a' : c - 'A';
    }

    SizeTestRun& run_;
    ISizeTestView& view_;
    Plan plan_;
    os::AlignedBuffer buffer_;
    std::unique_ptr<os::IRawVolume> volume_;
    std::uint64_t acc_ = 0;
    bool failureReported_ = false;
    TestPass pass_ = TestPass::Write;
};

} // namespace

std::uint64_t TestStep(int testMode, std::uint32_t sectorSize, std::uint64_t totalSectors) {
    if (testMode == kFullTestMode)
        return std::uint64_t{4} * sectorSize;
    if (totalSectors >= kQuickLargeDrive)
        return 0x40000;
    if (totalSectors >= kQuickMediumDrive)
        return 0x10000;
    if (totalSectors >= kQuickSmallDrive)
        return 0x4000;
    return 0x1000;
}

SizeTestOutcome RunSizeTest(SizeTestRun& run, ISizeTestView& view) {
    SizeTestBody body(run, view);
    return body.Run();
}

} // namespace corvane
