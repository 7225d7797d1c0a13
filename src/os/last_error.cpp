#include "os/last_error.h"

namespace corvane::os {
namespace {
thread_local std::uint32_t t_lastError = 0;
}

void SetLastOsError(std::uint32_t code) {
    t_lastError = code;
}
std::uint32_t LastOsError() {
    return t_lastError;
}

} // namespace corvane::os
