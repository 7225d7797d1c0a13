#pragma once
#include <cstdint>

namespace corvane::os {

// The calling thread's last OS error code, kept the way Windows keeps GetLastError: every
// backend operation that fails records its code here before it returns, so portable code can
// ask for "the last error" without knowing which backend it runs on. One slot per thread for
// the whole program (an inline function's static is shared by every translation unit).
inline std::uint32_t& LastOsErrorSlot() {
    thread_local std::uint32_t code = 0;
    return code;
}
inline void SetLastOsError(std::uint32_t code) {
    LastOsErrorSlot() = code;
}
inline std::uint32_t LastOsError() {
    return LastOsErrorSlot();
}

} // namespace corvane::os
