#pragma once
#include <cstddef>
#include <string>

#include "os/drives.h"

namespace corvane {

// The panel's free-space buffer, in characters with its terminator.
inline constexpr std::size_t kFreeSpaceBufferChars = 20;

// The free bytes of the file system on root (0 when the query fails), as a single-precision
// figure; text receives its free-space size text, cut to bufferChars - 1 characters.
float FormatFreeSpace(os::IDriveSystem& drives, const std::string& root, std::string& text,
                      std::size_t bufferChars);

// A free-space figure as whole bytes, the fraction dropped; figures beyond 64 bits saturate.
std::uint64_t WholeBytes(float bytes);

} // namespace corvane
