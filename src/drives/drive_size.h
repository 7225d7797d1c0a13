#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "os/drives.h"

namespace corvane {

// The drive's size in bytes as the product of its disk geometry; 0 when the geometry cannot be
// read. On success stores the geometry's bytes per sector into sectorSize; on failure leaves
// it as it was.
std::uint64_t GetDriveSize(os::IDriveSystem& drives, const std::string& drive,
                           std::atomic<std::uint32_t>& sectorSize);

} // namespace corvane
