#include "log/log_state.h"

#include <atomic>

namespace corvane {
namespace {
std::atomic<CLogFile*> g_log{nullptr};
}

void SetProcessLog(CLogFile* log) {
    g_log.store(log);
}
CLogFile* ProcessLog() {
    return g_log.load();
}
bool LoggingOn() {
    CLogFile* log = g_log.load();
    return log != nullptr && log->IsOpen();
}

} // namespace corvane
