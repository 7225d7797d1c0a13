#pragma once
#include <memory>

#include "os/linux/linux_drive_env.h"
#include "os/linux/linux_drive_name.h"
#include "os/scsi.h"

namespace corvane::os::linux_os {

// Opens a drive for SCSI commands. A disk on the SCSI layer gets every command through SG_IO;
// any other drive (an SD card in a card slot, a loop device, an image file, NVMe, virtio) gets
// an answer to a standard INQUIRY synthesised from sysfs, so it is not lost from the drive
// list, and every other command fails with ENOTTY. The drive is opened read-only: that is
// enough for INQUIRY (and for root, for any command), and closing a descriptor opened for
// writing makes udev announce a change of the disk, which would rebuild the drive list again
// and again. Null with the last error recorded when the drive cannot be opened.
std::unique_ptr<IScsiDevice> OpenLinuxScsi(const LinuxDriveEnv& env, const ResolvedDrive& drive);

// Linux has no media change notification switch: the handle opens (so a missing drive still
// fails) and the control request fails with ENOTTY.
std::unique_ptr<IMediaChangeSwitch> OpenLinuxMediaChangeSwitch(const ResolvedDrive& drive);

} // namespace corvane::os::linux_os
