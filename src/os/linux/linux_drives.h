#pragma once
#include <memory>

#include "os/drives.h"
#include "os/linux/linux_drive_env.h"

namespace corvane::os::linux_os {

// The machine's block devices as drives (names and paths as ResolveDrive takes them).
// LogicalDriveStrings lists the kernel names of ListDriveNames. Geometry: the logical sector
// size and the byte size from the device, heads and sectors per track from the disk geometry
// request when it answers, else 255 and 63 (what Windows reports for USB drives), with
// cylinders = size / (heads x sectors x sector size), so the size shown is the geometry's
// product; an image file has 512-byte sectors and its length as size. FreeSpace: the file
// system mounted from the device itself or, for a whole disk, from its first partition.
std::unique_ptr<IDriveSystem> MakeLinuxDrives(const LinuxDriveEnv& env = {});

} // namespace corvane::os::linux_os
