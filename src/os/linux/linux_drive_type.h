#pragma once
#include "os/drives.h"
#include "os/linux/linux_drive_name.h"

namespace corvane::os::linux_os {

// The drive type of a resolved drive: optical drives (sr) are CD-ROM, RAM disks RAM disk,
// disks that sysfs calls removable, and SD cards in a card slot, removable; every other disk
// and every image file fixed; a name that is no drive has no root.
DriveType DriveTypeOf(const ResolvedDrive& drive);

} // namespace corvane::os::linux_os
