#include "log/log_header.h"

#include <cstdio>
#include <cstdlib>

#include "log/log_file.h"
#include "log/log_state.h"

namespace corvane {
namespace {

const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};

constexpr unsigned kMbShift = 20;

} // namespace

std::string FormatLongDateTime(const os::LocalTime& t) {
    const char* weekday = (t.weekday >= 0 && t.weekday < 7) ? kWeekdays[t.weekday] : "";
    const char* month = (t.month >= 1 && t.month <= 12) ? kMonths[t.month - 1] : "";
    char text[64];
    std::snprintf(text, sizeof text, "%s, %s %02d, %04d %02d:%02d:%02d", weekday, month,
                  t.day % 100, t.year % 10000, t.hour % 100, t.minute % 100, t.second % 100);
    return text;
}

std::string FormatProgramVersion(const os::FileVersion& v) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%u%u%u%u", unsigned{v.part[0]}, unsigned{v.part[1]},
                  unsigned{v.part[2]}, unsigned{v.part[3]});
    const double number = std::strtod(digits, nullptr) / 1000.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", number);
    return text;
}

std::string FormatWidth7(std::uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%*llu", 7, static_cast<unsigned long long>(value));
    return text;
}

void WriteLogHeader(CLogFile& log, os::ISystem& system) {
    log.WriteHeaderLine("Log Started " + FormatLongDateTime(system.Now()));
    const std::string exe = system.ExecutablePath();
    log.WriteHeaderLine("program exe path " + exe);
    const std::optional<os::FileVersion> version = system.ExecutableFileVersion(exe);
    log.WriteHeaderLine("Program Version " +
                        FormatProgramVersion(version.value_or(os::FileVersion{})));
    log.WriteHeaderLine("Operating System");

    const os::VersionRecord os = system.Version().value_or(os::VersionRecord{});
    char versionText[96];
    std::snprintf(versionText, sizeof versionText, " Version %u.%u (Build %u)", os.major, os.minor,
                  os.build);
    log.WriteHeaderLine(system.ProductName() + versionText);

    const os::MemoryStatus m = system.Memory();
    log.WriteHeaderLine("Memory statistics");
    log.WriteHeaderLine(std::to_string(m.load) + " percent of memory is in use.");
    auto mb = [](std::uint64_t bytes) { return FormatWidth7(bytes >> kMbShift); };
    log.WriteHeaderLine("There are " + mb(m.totalPhys) + "MB total physical memory.");
    log.WriteHeaderLine("There are " + mb(m.availPhys) + "MB free available physical memory.");
    log.WriteHeaderLine("There are " + mb(m.totalPageFile) + "MB total paging file.");
    log.WriteHeaderLine("There are " + mb(m.availPageFile) + "MB free available paging file.");
    log.WriteHeaderLine("There are " + mb(m.totalVirtual) + "MB total virtual memory.");
    log.WriteHeaderLine("There are " + mb(m.availVirtual) + "MB free available virtual memory.");
}

void LogStartupMemory(os::ISystem& system) {
    const os::MemoryStatus m = system.Memory();
    auto kb = [](std::uint64_t bytes) { return FormatWidth7(bytes / 1024); };
    LogMessage("Memory statistics");
    LogMessage(std::to_string(m.load), " percent of memory is in use.");
    LogMessage("There are ", kb(m.totalPhys), " total KB of physical memory.");
    LogMessage("There are ", kb(m.availPhys), " free KB of available physical memory.");
    LogMessage("There are ", kb(m.totalPageFile), " total KB of paging file.");
    LogMessage("There are ", kb(m.availPageFile), " free KB of available paging file.");
    LogMessage("There are ", kb(m.totalVirtual), " total KB of virtual memory.");
    LogMessage("There are ", kb(m.availVirtual), " free KB of available virtual memory.");
}

} // namespace corvane
