// What the engine costs per block when the device costs (almost) nothing: the stamp, and
// whole runs on a simulated drive with views of different weight.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "bench/null_view.h"
#include "hosts/cli/cli_test_view.h"
#include "os/aligned_buffer.h"
#include "os/sim/sim_bay.h"
#include "os/sim/sim_system.h"
#include "sizetest/block_stamp.h"
#include "sizetest/size_test.h"

namespace {

using namespace corvane;

void BM_FillStamp(benchmark::State& state) {
    os::AlignedBuffer block(2048);
    std::uint64_t p = 0;
    for (auto _ : state) {
        FillBlockStamp(block.data(), block.size(), p += 2048);
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2048);
}
BENCHMARK(BM_FillStamp);

void BM_CheckStamp(benchmark::State& state) {
    os::AlignedBuffer block(2048);
    FillBlockStamp(block.data(), block.size(), 123456);
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckBlockStamp(block.data(), block.size(), 123456));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 2048);
}
BENCHMARK(BM_CheckStamp);

// A whole Full Test of a genuine 16 GB simulated drive (15,258 blocks a pass); the time per
// block is the run's time over the blocks of both passes.
template <typename MakeView> void RunSimulated(benchmark::State& state, MakeView makeView) {
    os::sim::SimDriveConfig drive;
    drive.name = "E:";
    drive.size = 16'000'000'000;
    os::sim::SimDriveBay bay({drive});
    os::sim::SimSystem system;
    std::uint64_t blocks = 0;
    for (auto _ : state) {
        auto view = makeView();
        std::atomic<std::uint32_t> sectorSize{512};
        std::atomic<std::int32_t> running{1};
        std::atomic<bool> closed{false};
        SizeTestRun run{bay,           system,        "E:",    sectorSize,
                        kBlockSectors, kFullTestMode, running, closed};
        if (RunSizeTest(run, *view) != SizeTestOutcome::Genuine)
            state.SkipWithError("the simulated drive did not pass");
        blocks += 2 * (drive.size / 512 / 2048);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(blocks));
}

void BM_EngineSimNullView(benchmark::State& state) {
    RunSimulated(state, [] { return std::make_unique<bench::NullView>(); });
}
BENCHMARK(BM_EngineSimNullView)->Unit(benchmark::kMillisecond);

std::FILE* DevNull() {
    static std::FILE* f = std::fopen("/dev/null", "w");
    return f;
}

// The terminal's view of one drive with the console and the report it writes to, which are
// built first.
struct CliViewParts {
    explicit CliViewParts(cli::StatusLine status)
        : console(DevNull(), status, false), slot(console.AddDrive("E:")) {}
    cli::CliConsole console;
    int slot;
    cli::DriveReport report;
};
struct CliViewRig : CliViewParts, cli::CliTestView {
    explicit CliViewRig(cli::StatusLine status)
        : CliViewParts(status), CliTestView(cli::TestAnswers{}, console, slot, report) {}
};

void BM_EngineSimCliStatusOn(benchmark::State& state) {
    RunSimulated(state, [] { return std::make_unique<CliViewRig>(cli::StatusLine::Terminal); });
}
BENCHMARK(BM_EngineSimCliStatusOn)->Unit(benchmark::kMillisecond);

void BM_EngineSimCliStatusOff(benchmark::State& state) {
    RunSimulated(state, [] { return std::make_unique<CliViewRig>(cli::StatusLine::Off); });
}
BENCHMARK(BM_EngineSimCliStatusOff)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
