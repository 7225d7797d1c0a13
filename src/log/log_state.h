#pragma once
#include <cstdint>
#include <string>
#include <type_traits>

#include "log/log_file.h"

namespace corvane {

// The process's one log, set by start-up and read by every writer. Null while logging is off.
void SetProcessLog(CLogFile* log);
CLogFile* ProcessLog();
// Logging is on when the log exists and its stream is open.
bool LoggingOn();

namespace detail {
inline void AppendPart(std::string& out, const std::string& s) {
    out += s;
}
inline void AppendPart(std::string& out, const char* s) {
    out += s;
}
inline void AppendPart(std::string& out, std::string_view s) {
    out += s;
}
template <typename T>
requires std::is_integral_v<T>
void AppendPart(std::string& out, T value) {
    out += std::to_string(value);
}
} // namespace detail

// Writes one message of one or more parts (texts, or whole numbers in decimal) with nothing
// between them. Does nothing while logging is off.
template <typename... Parts> void LogMessage(const Parts&... parts) {
    CLogFile* log = ProcessLog();
    if (log == nullptr || !log->IsOpen())
        return;
    std::string text;
    (detail::AppendPart(text, parts), ...);
    log->WriteMessage(text);
}

} // namespace corvane
