#pragma once
#include <memory>

#include "os/linux/linux_drive_env.h"
#include "os/linux/linux_drive_name.h"
#include "os/volume.h"

namespace corvane::os::linux_os {

// Opens the raw volume of a block device or an image file with O_DIRECT, so every read is
// served by the device and not by the page cache (a read-back from the cache would let a drive
// that drops or wraps writes pass). VolumeShare::None adds O_EXCL (for an image file, an
// exclusive flock), which fails with EBUSY while the device or one of its partitions is
// mounted or claimed. A file system that refuses O_DIRECT fails the open (EINVAL) rather than
// being read through the cache. Null with the last error recorded on failure.
//
// Transfers use pread/pwrite at a 64-bit position and move whole requests: interrupted calls
// are resumed, a transfer that runs over the end of the device is short (its bytes are
// reported, the call succeeds), and a buffer, offset or length that is not sector-aligned goes
// through an aligned bounce buffer, reading the partial sectors around it first when writing.
// An image file behaves like a device of its size at opening: writes never grow it.
//
// Lock holds a second descriptor opened with O_EXCL (flock for an image file) until Unlock.
// Dismount unmounts every mount of the device and its partitions (never lazily: a busy file
// system stays mounted and Dismount returns false), then takes the lock again if Lock was
// asked for and refused.
std::unique_ptr<IRawVolume> OpenLinuxVolume(const LinuxDriveEnv& env, const ResolvedDrive& drive,
                                            VolumeAccess access, VolumeShare share);

} // namespace corvane::os::linux_os
