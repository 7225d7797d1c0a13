#include "test/run_control.h"

#include "drives/drive_size.h"
#include "log/log_state.h"

namespace corvane {

CTestRunControl::CTestRunControl(os::Platform& platform, IRunControlView& view)
    : platform_(platform), view_(view) {}

CTestRunControl::~CTestRunControl() {
    OnCloseWindow();
}

void CTestRunControl::JoinFinishedWorker() {
    if (worker_.joinable() && !workerActive_.load())
        worker_.join();
}

void CTestRunControl::OnStartTest(const CDevice* current, std::atomic<std::uint32_t>& sectorSize,
                                  bool deviceListEmpty) {
    // The previous run's worker may still be finishing its block and end steps on the volume;
    // a second run waits until it has ended (the end steps reset the buttons then).
    if (workerActive_.load())
        return;
    JoinFinishedWorker();

    m_nBlockSectors.store(static_cast<std::int32_t>(kBlockSectors));
    std::uint64_t size = 0;
    if (current != nullptr && !current->m_drive.empty() && platform_.drives)
        size = GetDriveSize(*platform_.drives, current->m_drive, sectorSize);
    const std::uint32_t ss = sectorSize.load();
    const std::uint64_t total = ss == 0 ? 0 : size / ss;
    if (total == 0) {
        view_.MessageBox(kZeroSectorsText, "", kMbOk);
        return;
    }
    view_.ResetMap();
    view_.ShowZeroFields();
    m_bTestRunning.store(1);
    view_.ShowRunningButtons();
    if (view_.MessageBox(kConfirmText, kConfirmCaption, kMbYesNo | kMbIconExclamation) != kIdYes) {
        // The run flag stays set; nothing reads it before the next Start sets it again.
        view_.ShowStoppedButtons(!deviceListEmpty);
        return;
    }
    // The run takes its drive, size and sector size now: what the user confirmed is what it
    // writes, whatever the selection does meanwhile.
    pending_ = PendingRun{current->m_drive, ss, size, m_nTestMode.load()};
    workerActive_.store(true);
    worker_ = std::thread([this] {
        const unsigned code = SizeTestThread(this);
        lastExitCode_.store(static_cast<int>(code));
        {
            std::lock_guard lock(mutex_);
            workerActive_.store(false);
        }
        workerEnded_.notify_all();
    });
}

void CTestRunControl::OnStopTest() {
    m_bTestRunning.store(0);
    view_.ShowStoppedButtons(true);
}

void CTestRunControl::OnTestMode(int mode) {
    m_nTestMode.store(mode);
}

void CTestRunControl::OnCloseWindow() {
    m_bTestRunning.store(0);
    viewClosed_.store(true);
    if (worker_.joinable())
        worker_.join();
}

bool CTestRunControl::WaitForWorker(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    auto idle = [this] { return !workerActive_.load(); };
    if (timeout == std::chrono::milliseconds::max())
        workerEnded_.wait(lock, idle);
    else if (!workerEnded_.wait_for(lock, timeout, idle))
        return false;
    lock.unlock();
    JoinFinishedWorker();
    return true;
}

std::optional<SizeTestOutcome> CTestRunControl::LastOutcome() const {
    std::lock_guard lock(mutex_);
    return lastOutcome_;
}

unsigned CTestRunControl::SizeTestThread(CTestRunControl* param) {
    LogMessage(kThreadStartLog);
    if (param == nullptr) {
        LogMessage(kThreadInvalidLog);
        return 1;
    }
    return param->RunWorker();
}

unsigned CTestRunControl::RunWorker() {
    if (!platform_.drives || !platform_.system)
        return 1;
    std::atomic<std::uint32_t> runSectorSize{pending_.sectorSize};
    SizeTestRun run{*platform_.drives, *platform_.system, pending_.drive, runSectorSize,
                    kBlockSectors,     pending_.testMode, m_bTestRunning, viewClosed_};
    if (onRunStarted)
        onRunStarted(pending_.drive, pending_.size, pending_.sectorSize);
    const SizeTestOutcome outcome = RunSizeTest(run, view_);
    if (onRunEnded)
        onRunEnded();
    {
        std::lock_guard lock(mutex_);
        lastOutcome_ = outcome;
    }
    return outcome == SizeTestOutcome::NoBuffer ? 1 : 0;
}

} // namespace corvane
