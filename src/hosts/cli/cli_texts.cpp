#include "hosts/cli/cli_texts.h"

#include <cmath>
#include <cstdio>

#include "drives/panel_text.h"

namespace corvane::cli {
namespace {

std::string Printed(const char* format, auto... values) {
    char text[128];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

const char* PassName(TestPass pass) {
    return pass == TestPass::Write ? "write" : "verify";
}

std::string BlocksDone(const DriveReport& r) {
    return CountText(r.blocksWritten, "block") + " written, " +
           CountText(r.blocksVerified, "block") + " verified";
}

} // namespace

std::string CountText(std::uint64_t count, const std::string& singular) {
    return std::to_string(count) + " " + singular + (count == 1 ? "" : "s");
}

std::string DurationText(double seconds) {
    if (!(seconds >= 0))
        seconds = 0;
    if (seconds < 60)
        return Printed("%.2f s", seconds);
    const auto whole = static_cast<unsigned long long>(seconds);
    if (whole < 3600)
        return Printed("%llu min %02llu s", whole / 60, whole % 60);
    return Printed("%llu h %02llu min", whole / 3600, whole / 60 % 60);
}

std::string ClockText(double seconds) {
    if (!(seconds >= 0))
        seconds = 0;
    const auto whole = static_cast<unsigned long long>(seconds);
    if (whole < 3600)
        return Printed("%llu:%02llu", whole / 60, whole % 60);
    return Printed("%llu:%02llu:%02llu", whole / 3600, whole / 60 % 60, whole % 60);
}

std::string RateText(double bytesPerSecond) {
    if (!(bytesPerSecond >= 0) || std::isinf(bytesPerSecond))
        bytesPerSecond = 0;
    return Printed("%.1f MB/s", bytesPerSecond / 1e6);
}

std::string StatusLineText(const StatusFigures& f, int columns) {
    const std::uint64_t inPass = f.pass == TestPass::Write ? f.blocksWritten : f.blocksVerified;
    const std::uint64_t percent = f.blocksPerPass == 0 ? 0 : inPass * 100 / f.blocksPerPass;
    const std::uint64_t done = f.blocksWritten + f.blocksVerified;
    const std::uint64_t all = 2 * f.blocksPerPass;
    std::string left = "--:--";
    if (done > 0 && f.seconds > 0 && all >= done)
        left = ClockText(f.seconds * static_cast<double>(all - done) / static_cast<double>(done));
    std::string line = f.drive + "  " + PassName(f.pass) + " pass " + std::to_string(percent) +
                       "%  " +
                       RateText(f.seconds > 0 ? static_cast<double>(f.bytesMoved) / f.seconds : 0) +
                       "  " + ClockText(f.seconds) + " elapsed  " + left + " left";
    const std::size_t fit = columns > 1 ? static_cast<std::size_t>(columns - 1) : 1;
    if (line.size() > fit)
        line.resize(fit);
    return line;
}

std::string ClosingLineText(const DriveReport& r) {
    const std::string took = " in " + DurationText(r.seconds);
    switch (r.verdict()) {
    case Verdict::Genuine:
        return "Completed" + took + ": " + BlocksDone(r) + ", " +
               FormatSize(r.identity.reportedSize) + " tested";
    case Verdict::Stopped: {
        const std::uint64_t at = r.pass == TestPass::Write ? r.blocksWritten : r.blocksVerified;
        return "Stopped at block " + std::to_string(at) + " of " + std::to_string(r.blocksPerPass) +
               " of the " + PassName(r.pass) + " pass" + took + ": " + BlocksDone(r);
    }
    case Verdict::Fake:
    case Verdict::Faulty: {
        std::string where = "Failed";
        if (r.failure) {
            const std::uint64_t block =
                r.stepSectors == 0 ? 0 : r.failure->sector / r.stepSectors + 1;
            where += " at " + FormatSize(r.failure->bytes) + " (block " + std::to_string(block) +
                     " of " + std::to_string(r.blocksPerPass) + " of the " +
                     PassName(r.failure->pass) + " pass)";
        }
        return where + took + ": " + BlocksDone(r);
    }
    case Verdict::NotTested:
        break;
    }
    return "Not tested" + (r.notTested.empty() ? std::string() : ": " + r.notTested);
}

} // namespace corvane::cli
