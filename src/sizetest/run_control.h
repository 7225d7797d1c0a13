#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "drives/device.h"
#include "os/platform.h"
#include "sizetest/run_control_view.h"
#include "sizetest/size_test.h"

namespace corvane {

// Starts, stops and configures size test runs, and owns the worker thread of the run.
// The fields that the user-interface thread and the worker share are atomic. A run keeps the
// drive and sector size it started with; a new run cannot start while the previous worker
// still exists; closing stops the worker and waits until it has released the volume.
class CTestRunControl {
public:
    CTestRunControl(os::Platform& platform, IRunControlView& view);
    // Closes as the window does: stops a running test and waits for its worker.
    ~CTestRunControl();
    CTestRunControl(const CTestRunControl&) = delete;
    CTestRunControl& operator=(const CTestRunControl&) = delete;

    // Start Test on the current device. sectorSize is the dialog's sector size field, which
    // the size query refreshes; deviceListEmpty decides Start Test's state after a No.
    void OnStartTest(const CDevice* current, std::atomic<std::uint32_t>& sectorSize,
                     bool deviceListEmpty);
    void OnStopTest();
    // The mode radios: 0 Quick Test, 1 Full Test. A running test keeps its mode.
    void OnTestMode(int mode);
    // The window closes: clear the run flag so the worker stops at its next block; the run
    // then shows nothing more. Returns at once: a window system whose worker waits for the
    // window's thread must keep dispatching until WorkerActive() is false.
    void RequestClose();
    // RequestClose, then wait until the worker has ended.
    void OnCloseWindow();

    // True from the start of a worker until it has ended.
    bool WorkerActive() const { return m_bWorkerActive.load(); }
    // Blocks until no worker runs (or timeout); true when none runs.
    bool WaitForWorker(std::chrono::milliseconds timeout = std::chrono::milliseconds::max());
    // The outcome of the last run that ended, if any.
    std::optional<SizeTestOutcome> LastOutcome() const;
    // The exit code of the last worker: 0, or 1 after a buffer failure or without a dialog.
    int LastExitCode() const { return m_nLastExitCode.load(); }

    // Told when a run takes its drive and when it has released it, so drive selection leaves
    // that drive alone meanwhile. Called on the worker thread.
    std::function<void(const std::string& drive, std::uint64_t size, std::uint32_t sectorSize)>
        onRunStarted;
    std::function<void()> onRunEnded;

    // The shared fields.
    std::atomic<std::int32_t> m_bTestRunning{0};
    std::atomic<std::int32_t> m_nBlockSectors{static_cast<std::int32_t>(kBlockSectors)};
    std::atomic<std::int32_t> m_nTestMode{0};

    // The worker procedure: logs its start and runs the test; 1 without a control.
    static unsigned SizeTestThread(CTestRunControl* param);

private:
    struct PendingRun {
        std::string drive;
        std::uint32_t sectorSize = 0;
        std::uint64_t size = 0;
        int testMode = 0;
    };
    unsigned RunWorker();
    void JoinFinishedWorker();

    os::Platform& m_platform;
    IRunControlView& m_view;
    PendingRun m_pending;
    std::thread m_worker;
    std::atomic<bool> m_bWorkerActive{false};
    std::atomic<bool> m_bViewClosed{false};
    std::atomic<int> m_nLastExitCode{0};
    mutable std::mutex m_mutex;
    std::condition_variable m_workerEnded;
    std::optional<SizeTestOutcome> m_lastOutcome;
};

} // namespace corvane
