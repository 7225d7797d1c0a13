// The engine's cost beyond the device: a whole size test through the Linux backend on a sparse
// image file, against a bare loop of the same system calls on the same file and the same block
// positions, alternated in one process so the noise of a shared machine cancels. Prints the
// medians and ends with "overhead quick=R full=R" (engine time over bare time).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/null_view.h"
#include "os/aligned_buffer.h"
#include "os/native.h"
#include "sizetest/block_stamp.h"
#include "sizetest/size_test.h"

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kImageBytes = 16'000'000'000ULL;
constexpr std::uint32_t kSector = 512;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double RunEngine(os::Platform& platform, const std::string& image, int mode) {
    bench::NullView view;
    std::atomic<std::uint32_t> sectorSize{kSector};
    std::atomic<std::int32_t> running{1};
    std::atomic<bool> closed{false};
    SizeTestRun run{*platform.drives,
                    *platform.system,
                    image,
                    sectorSize,
                    kBlockSectors,
                    mode,
                    running,
                    closed};
    const auto start = Clock::now();
    const SizeTestOutcome outcome = RunSizeTest(run, view);
    const double s = Seconds(Clock::now() - start);
    if (outcome != SizeTestOutcome::Genuine) {
        std::fprintf(stderr, "overhead: the engine did not pass the image (outcome %d)\n",
                     static_cast<int>(outcome));
        std::exit(1);
    }
    return s;
}

// What the engine asks of the device, without the engine: per block a stamped write, a flush
// and a read-back, then a read of every block again.
double RunBare(const std::string& image, int mode) {
    const std::uint64_t total = kImageBytes / kSector;
    const std::uint64_t step = TestStep(mode, kSector, total);
    const std::uint64_t blocks = total / step;
    const std::size_t length = kBlockSectors * kSector;
    os::AlignedBuffer buffer(length);
    const auto start = Clock::now();
    const int fd = open(image.c_str(), O_RDWR | O_DIRECT | O_CLOEXEC);
    if (fd < 0) {
        std::perror("overhead: open");
        std::exit(1);
    }
    std::uint64_t p = 0;
    for (std::uint64_t b = 0; b < blocks; ++b, p += step) {
        FillBlockStamp(buffer.data(), length, p);
        const auto at = static_cast<off_t>(p * kSector);
        if (pwrite(fd, buffer.data(), length, at) != static_cast<ssize_t>(length) ||
            fdatasync(fd) != 0 ||
            pread(fd, buffer.data(), length, at) != static_cast<ssize_t>(length) ||
            CheckBlockStamp(buffer.data(), length, p)) {
            std::perror("overhead: bare write pass");
            std::exit(1);
        }
    }
    p = 0;
    for (std::uint64_t b = 0; b < blocks; ++b, p += step) {
        const auto at = static_cast<off_t>(p * kSector);
        if (pread(fd, buffer.data(), length, at) != static_cast<ssize_t>(length) ||
            CheckBlockStamp(buffer.data(), length, p)) {
            std::perror("overhead: bare verify pass");
            std::exit(1);
        }
    }
    close(fd);
    return Seconds(Clock::now() - start);
}

struct Ratio {
    double engine = 0;
    double bare = 0;
    double ratio = 0;
};

Ratio Measure(os::Platform& platform, const std::string& image, int mode, int repetitions) {
    std::vector<double> engine;
    std::vector<double> bare;
    RunEngine(platform, image, mode); // warm: the file's pages exist from here on
    RunBare(image, mode);
    // Which of the two goes first alternates too, so neither gains from the other's warm-up.
    for (int i = 0; i < repetitions; ++i) {
        if (i % 2 == 0) {
            engine.push_back(RunEngine(platform, image, mode));
            bare.push_back(RunBare(image, mode));
        } else {
            bare.push_back(RunBare(image, mode));
            engine.push_back(RunEngine(platform, image, mode));
        }
    }
    Ratio r{Median(engine), Median(bare), 0};
    r.ratio = r.engine / r.bare;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/dev/shm";
    const int quickReps = std::max(1, argc > 2 ? std::atoi(argv[2]) : 41);
    const int fullReps = std::max(1, argc > 3 ? std::atoi(argv[3]) : 9);
    const std::string image = folder + "/corvane-overhead-" + std::to_string(getpid()) + ".img";
    {
        const int fd = open(image.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(kImageBytes)) != 0) {
            std::perror("overhead: cannot make the sparse image");
            return 1;
        }
        close(fd);
    }
    auto platform = os::MakeNativePlatform();
    const Ratio quick = Measure(*platform, image, 0, quickReps);
    const Ratio full = Measure(*platform, image, kFullTestMode, fullReps);
    unlink(image.c_str());
    std::printf("16 GB sparse image in %s, medians of %d (Quick) and %d (Full) alternated runs\n",
                folder.c_str(), quickReps, fullReps);
    std::printf("quick: engine %.6f s, bare %.6f s\n", quick.engine, quick.bare);
    std::printf("full:  engine %.6f s, bare %.6f s\n", full.engine, full.bare);
    std::printf("overhead quick=%.2f full=%.2f\n", quick.ratio, full.ratio);
    return 0;
}
