#pragma once
#include <string>

#include "os/linux/linux_drive_env.h"
#include "os/linux/linux_sysfs.h"

namespace corvane::os::linux_os {

// What a drive name stands for. A name is either a block device's kernel name as listed under
// <sysRoot>/block or <sysRoot>/class/block ("sdb", "mmcblk0", "sdb1"), or a path that contains
// a '/' (/dev/sdb, /dev/disk/by-id/..., or a regular image file).
struct ResolvedDrive {
    enum class Kind { Missing, BlockDevice, ImageFile };
    Kind kind = Kind::Missing;
    int error = 0;        // errno when Missing
    bool byName = false;  // given as a kernel name rather than a path
    std::string node;     // the path to open: <devRoot>/<name>, or the path as given
    std::string name;     // kernel name of the node ("sdb1" for a partition); a file's base name
    std::string sysDir;   // canonical sysfs folder of the node; empty for a file
    std::string diskDir;  // canonical sysfs folder of its whole disk; empty for a file
    std::string diskName; // kernel name of the whole disk ("sdb")
    bool partition = false;
    DevNumber dev; // block devices only
};

ResolvedDrive ResolveDrive(const LinuxDriveEnv& env, const std::string& nameOrPath);

// Opens the node of a resolved drive with flags (O_CLOEXEC is added). It refuses, with ENODEV,
// a node that is not the device that was resolved (a stale /dev entry, or a path swapped for
// another file between resolving and opening), so a call never reaches a device other than the
// one named. A drive named through sysfs whose node is a regular file is accepted: that is a
// test's device folder. Returns the descriptor, or -1 with errno set.
int OpenResolved(const ResolvedDrive& drive, int flags);

} // namespace corvane::os::linux_os
