#include "sizetest/run_control.h"

#include "drives/drive_queries.h"
#include "log/log_state.h"

namespace corvane {

CTestRunControl::CTestRunControl(os::Platform& platform, IRunControlView& view)
    : m_platform(platform), m_view(view) {}

CTestRunControl::~CTestRunControl() {
    OnCloseWindow();
}

void CTestRunControl::JoinFinishedWorker() {
    if (m_worker.joinable() && !m_bWorkerActive.load())
        m_worker.join();
}

void CTestRunControl::OnStartTest(const CDevice* current, std::atomic<std::uint32_t>& sectorSize,
                                  bool deviceListEmpty) {
    // The previous run's worker may still be finishing its block and end steps on the volume;
    // a second run waits until it has ended (the end steps reset the buttons then).
    if (m_bWorkerActive.load())
        return;
    JoinFinishedWorker();

    m_nBlockSectors.store(static_cast<std::int32_t>(kBlockSectors));
    std::uint64_t size = 0;
    if (current != nullptr && !current->m_drive.empty() && m_platform.drives)
        size = GetDriveSize(*m_platform.drives, current->m_drive, sectorSize);
    const std::uint32_t ss = sectorSize.load();
    const std::uint64_t total = ss == 0 ? 0 : size / ss;
    if (total == 0) {
        m_view.MessageBox(kZeroSectorsText, "", kMbOk);
        return;
    }
    m_view.ResetMap();
    m_view.ShowZeroFields();
    m_bTestRunning.store(1);
    m_view.ShowRunningButtons();
    if (m_view.MessageBox(kConfirmText, kConfirmCaption, kMbYesNo | kMbIconExclamation) != kIdYes) {
        // The run flag stays set; nothing reads it before the next Start sets it again.
        m_view.ShowStoppedButtons(!deviceListEmpty);
        return;
    }
    // The run takes its drive, size and sector size now: what the user confirmed is what it
    // writes, whatever the selection does meanwhile.
    m_pending = PendingRun{current->m_drive, ss, size, m_nTestMode.load()};
    m_bWorkerActive.store(true);
    m_worker = std::thread([this] {
        const unsigned code = SizeTestThread(this);
        m_nLastExitCode.store(static_cast<int>(code));
        {
            std::lock_guard lock(m_mutex);
            m_bWorkerActive.store(false);
        }
        m_workerEnded.notify_all();
    });
}

void CTestRunControl::OnStopTest() {
    m_bTestRunning.store(0);
    m_view.ShowStoppedButtons(true);
}

void CTestRunControl::OnTestMode(int mode) {
    m_nTestMode.store(mode);
}

void CTestRunControl::RequestClose() {
    m_bTestRunning.store(0);
    m_bViewClosed.store(true);
}

void CTestRunControl::OnCloseWindow() {
    RequestClose();
    if (m_worker.joinable())
        m_worker.join();
}

bool CTestRunControl::WaitForWorker(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    auto idle = [this] { return !m_bWorkerActive.load(); };
    if (timeout == std::chrono::milliseconds::max())
        m_workerEnded.wait(lock, idle);
    else if (!m_workerEnded.wait_for(lock, timeout, idle))
        return false;
    lock.unlock();
    JoinFinishedWorker();
    return true;
}

std::optional<SizeTestOutcome> CTestRunControl::LastOutcome() const {
    std::lock_guard lock(m_mutex);
    return m_lastOutcome;
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
    if (!m_platform.drives || !m_platform.system)
        return 1;
    std::atomic<std::uint32_t> runSectorSize{m_pending.sectorSize};
    SizeTestRun run{*m_platform.drives, *m_platform.system, m_pending.drive, runSectorSize,
                    kBlockSectors,     m_pending.testMode, m_bTestRunning, m_bViewClosed};
    if (onRunStarted)
        onRunStarted(m_pending.drive, m_pending.size, m_pending.sectorSize);
    const SizeTestOutcome outcome = RunSizeTest(run, m_view);
    if (onRunEnded)
        onRunEnded();
    {
        std::lock_guard lock(m_mutex);
        m_lastOutcome = outcome;
    }
    return outcome == SizeTestOutcome::NoBuffer ? 1 : 0;
}

} // namespace corvane
