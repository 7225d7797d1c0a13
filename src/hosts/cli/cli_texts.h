#pragma once
// The terminal's own words: counts, times, rates, the status line and the closing line. The
// messages of a run are the engine's (size_test_texts.h); these only say what the terminal adds.
#include <cstdint>
#include <string>

#include "hosts/cli/cli_report.h"

namespace corvane::cli {

// "1 block", "2 blocks", "0 blocks".
std::string CountText(std::uint64_t count, const std::string& singular);
// A run's time taken: "0.05 s", "42.10 s", "3 min 05 s", "2 h 07 min".
std::string DurationText(double seconds);
// A time on the status line: "0:07", "12:34", "1:02:03".
std::string ClockText(double seconds);
// Bytes per second in decimal megabytes: "12.3 MB/s".
std::string RateText(double bytesPerSecond);

// What the status line shows of one running drive.
struct StatusFigures {
    std::string drive;
    TestPass pass = TestPass::Write;
    std::uint64_t blocksPerPass = 0;
    std::uint64_t blocksWritten = 0;
    std::uint64_t blocksVerified = 0;
    std::uint64_t bytesMoved = 0; // written and read back so far
    double seconds = 0;           // since the run started
};

// "sdb  write pass 42%  3.1 MB/s  0:12 elapsed  0:17 left", cut to fit within columns - 1
// characters (a line that reaches the last column wraps on some terminals). Percent, rate and
// time left come from the blocks done: both passes together are the whole of the work.
std::string StatusLineText(const StatusFigures& figures, int columns);

// What happened to one drive, in one line: completed, stopped at a block, failed at a position,
// or not tested; with the blocks of both passes and the time taken.
std::string ClosingLineText(const DriveReport& report);

} // namespace corvane::cli
