#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "os/drives.h"
#include "os/system.h"
#include "sizetest/size_test_view.h"

namespace corvane {

enum class SizeTestOutcome {
    Genuine,         // both passes clean: the no-errors verdict
    Aborted,         // the run flag was cleared: the abort verdict
    FailureReported, // a write or verify failure was shown
    NoBuffer,        // the block buffer could not be allocated (worker exit code 1)
    NoVolume,        // the volume could not be opened: nothing was shown or reset
};

inline constexpr int kFullTestMode = 1;
inline constexpr std::uint32_t kBlockSectors = 4;

// The step between block starts, in sectors, for the mode, the sector size and the total.
std::uint64_t TestStep(int testMode, std::uint32_t sectorSize, std::uint64_t totalSectors);

// What one run works on. The run keeps its own drive name and sector size, so a selection
// or a device change in the dialog cannot redirect it.
struct SizeTestRun {
    os::IDriveSystem& drives;
    os::ISystem& system;
    std::string drive;
    // The run's sector size field: SS is read from it at the start, and the run's own
    // geometry request refreshes it.
    std::atomic<std::uint32_t>& sectorSize;
    std::uint32_t blockSectors = kBlockSectors;
    int testMode = 0;
    // The run flag, read before every block; the run clears it at its end.
    std::atomic<std::int32_t>& testRunning;
    // Set when the window is gone: the run then ends without showing anything more.
    const std::atomic<bool>& viewClosed;
};

// One size test: the write pass with its immediate read-back, the verify pass, the verdict and
// the format offer. Runs on the worker thread.
SizeTestOutcome RunSizeTest(SizeTestRun& run, ISizeTestView& view);

} // namespace corvane
