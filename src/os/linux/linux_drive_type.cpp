#include "os/linux/linux_drive_type.h"

#include "os/linux/linux_bus_type.h"

namespace corvane::os::linux_os {

DriveType DriveTypeOf(const ResolvedDrive& drive) {
    switch (drive.kind) {
    case ResolvedDrive::Kind::Missing:
        return kDriveNoRootDir;
    case ResolvedDrive::Kind::ImageFile:
        return kDriveFixed;
    case ResolvedDrive::Kind::BlockDevice:
        break;
    }
    if (drive.diskName.starts_with("sr"))
        return kDriveCdrom;
    if (drive.diskName.starts_with("ram") || drive.diskName.starts_with("zram"))
        return kDriveRamdisk;
    if (ReadAttribute(drive.diskDir + "/removable") == "1" || IsSdCard(drive.diskDir))
        return kDriveRemovable;
    return kDriveFixed;
}

} // namespace corvane::os::linux_os
