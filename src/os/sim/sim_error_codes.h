#pragma once
#include <cstdint>

#ifndef _WIN32
#include <cerrno>
#endif

namespace corvane::os::sim {

// The codes the simulated drives record as the last error, in the numbering of the system the
// build runs on, so that the system's own error texts describe them.
#ifdef _WIN32
inline constexpr std::uint32_t kSimErrorNoDrive = 2;       // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kSimErrorAccessDenied = 5;  // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kSimErrorBeyondEnd = 27;    // ERROR_SECTOR_NOT_FOUND
inline constexpr std::uint32_t kSimErrorSharing = 32;      // ERROR_SHARING_VIOLATION
inline constexpr std::uint32_t kSimErrorBadParameter = 87; // ERROR_INVALID_PARAMETER
inline constexpr std::uint32_t kSimErrorNotLocked = 158;   // ERROR_NOT_LOCKED
inline constexpr std::uint32_t kSimErrorIo = 1117;         // ERROR_IO_DEVICE
inline constexpr std::uint32_t kSimErrorGone = 1167;       // ERROR_DEVICE_NOT_CONNECTED
#else
inline constexpr std::uint32_t kSimErrorNoDrive = ENOENT;
inline constexpr std::uint32_t kSimErrorAccessDenied = EACCES;
inline constexpr std::uint32_t kSimErrorBeyondEnd = ENOSPC;
inline constexpr std::uint32_t kSimErrorSharing = EBUSY;
inline constexpr std::uint32_t kSimErrorBadParameter = EINVAL;
inline constexpr std::uint32_t kSimErrorNotLocked = EINVAL;
inline constexpr std::uint32_t kSimErrorIo = EIO;
inline constexpr std::uint32_t kSimErrorGone = ENODEV;
#endif

} // namespace corvane::os::sim
