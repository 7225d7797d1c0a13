#pragma once
// What the terminal learns of a drive and of its test, kept as figures for the closing line,
// the summary table and the JSON report.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sizetest/size_test.h"

namespace corvane::cli {

// A test's verdict as a script reads it.
enum class Verdict {
    Genuine,   // both passes clean
    Fake,      // data came back other than written: overwritten (wrap) or lost
    Faulty,    // the drive refused a write or a read
    Stopped,   // stopped by the user
    NotTested, // no test ran (declined, no sectors, no volume, no memory)
};

// "genuine", "fake", "faulty", "stopped", "not-tested".
const char* VerdictName(Verdict verdict);
Verdict VerdictOf(std::optional<SizeTestOutcome> outcome, std::optional<TestFailure> failure);
// The exit code of one drive's test (cli_front_end.h).
int ExitCodeOf(std::optional<SizeTestOutcome> outcome);

// Who the drive is, as the drive panel names it, and its size as the test takes it.
struct DriveIdentity {
    std::string name; // as the list keeps it ("E:", "sdb") or as given
    std::string vendor;
    std::string product;
    std::string revision;
    std::string bus;                // the panel's interface name ("USB", "---")
    std::string type;               // the panel's drive type ("Removable", "Fixed")
    std::uint64_t reportedSize = 0; // bytes: the geometry's product
    std::uint32_t sectorSize = 0;
};

// "Kingston DataTraveler 3.0", or "(no identity)" when neither is known.
std::string ModelText(const DriveIdentity& identity);

// A message box as the terminal showed it; questions carry the answer given.
struct ShownMessage {
    std::string caption;
    std::string text;
    std::optional<bool> answer;
};

struct FailurePoint {
    TestPass pass = TestPass::Write;
    TestFailure failure = TestFailure::Mismatch;
    std::uint64_t sector = 0;
    std::uint64_t bytes = 0;
};

// One drive's test: filled by its view while the worker runs, completed when it has ended.
struct DriveReport {
    DriveIdentity identity;
    int mode = 0; // 0 Quick Test, kFullTestMode
    std::uint64_t blocksPerPass = 0;
    std::uint64_t stepSectors = 0;
    std::uint64_t blocksWritten = 0;
    std::uint64_t blocksVerified = 0;
    TestPass pass = TestPass::Write; // the pass that ran last
    std::optional<FailurePoint> failure;
    std::optional<std::uint64_t> probableRealSize;
    std::vector<ShownMessage> messages;
    std::chrono::system_clock::time_point started{};
    double seconds = 0;
    std::optional<SizeTestOutcome> outcome;
    // Why no test ran, when the terminal knows more than the outcome says.
    std::string notTested;

    Verdict verdict() const;
    int exitCode() const { return ExitCodeOf(outcome); }
};

// "quick" or "full".
const char* ModeName(int mode);

} // namespace corvane::cli
