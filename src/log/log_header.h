#pragma once
#include <string>

#include "os/system.h"

namespace corvane {

class CLogFile;

// The start time in the long English form: "Tuesday, December 08, 2026 04:10:05".
std::string FormatLongDateTime(const os::LocalTime& t);
// The version line's number: the four parts joined as decimal digits, read back, divided by
// 1000 ("1.000" for 1.0.0.0, "11.000" for 1.10.0.0).
std::string FormatProgramVersion(const os::FileVersion& v);
// "%*ld" with width 7 of a value.
std::string FormatWidth7(std::uint64_t value);

// Writes header lines 1 to 13 straight after the log was opened.
void WriteLogHeader(CLogFile& log, os::ISystem& system);

// The eight start-up memory messages (KB figures), written with LogMessage.
void LogStartupMemory(os::ISystem& system);

} // namespace corvane
