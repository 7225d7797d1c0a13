// A whole Full Test of a genuine "2 TB" simulated drive (about two million blocks a pass):
// its time and the peak resident size of the process, which shows that the engine holds
// nothing per block beyond its one block buffer (the simulated store keeps each stamped block
// in a few bytes).
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>

#include "bench/null_view.h"
#include "os/sim/sim_bay.h"
#include "os/sim/sim_system.h"
#include "sizetest/size_test.h"

namespace {

long PeakResidentKiB() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main() {
    using namespace corvane;
    os::sim::SimDriveConfig drive;
    drive.name = "E:";
    drive.size = 2'000'000'000'000;
    os::sim::SimDriveBay bay({drive});
    os::sim::SimSystem system;
    bench::NullView view;
    std::atomic<std::uint32_t> sectorSize{512};
    std::atomic<std::int32_t> running{1};
    std::atomic<bool> closed{false};
    SizeTestRun run{bay, system, "E:", sectorSize, kBlockSectors, kFullTestMode, running, closed};

    const long before = PeakResidentKiB();
    const auto start = std::chrono::steady_clock::now();
    const SizeTestOutcome outcome = RunSizeTest(run, view);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto sim = bay.Drive("E:");
    const std::uint64_t blocks = drive.size / 512 / TestStep(kFullTestMode, 512, drive.size / 512);
    std::printf("Full Test of a 2 TB simulated drive: %llu blocks a pass, %s, %.1f s\n",
                static_cast<unsigned long long>(blocks),
                outcome == SizeTestOutcome::Genuine ? "genuine" : "NOT genuine", seconds);
    std::printf("simulated store: %zu extents, %llu data bytes\n", sim->StoredExtents(),
                static_cast<unsigned long long>(sim->StoredBytes()));
    std::printf("peak resident size: %ld KiB before the run, %ld KiB after it\n", before,
                PeakResidentKiB());
    return outcome == SizeTestOutcome::Genuine ? 0 : 1;
}
