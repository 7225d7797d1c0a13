#pragma once
#include <cstdint>

namespace corvane::os {

// The calling thread's last OS error code, kept the way Windows keeps GetLastError: every
// backend operation that fails records its code here before it returns, so portable code can
// ask for "the last error" without knowing which backend it runs on.
void SetLastOsError(std::uint32_t code);
std::uint32_t LastOsError();

} // namespace corvane::os
