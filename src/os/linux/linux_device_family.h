#pragma once
#include <string>
#include <vector>

#include "os/linux/linux_drive_env.h"
#include "os/linux/linux_drive_name.h"
#include "os/linux/linux_mounts.h"
#include "os/linux/linux_sysfs.h"

namespace corvane::os::linux_os {

// One block device of a drive's family: the drive itself, a partition of it, or a device
// built on it.
struct FamilyMember {
    std::string name; // kernel name: "sdb1", "dm-0", "loop3"
    DevNumber dev;
    std::string sysDir;
};

// The drive's own device and, when it is a whole disk, its partitions. Empty for an image
// file.
std::vector<FamilyMember> DeviceAndPartitions(const ResolvedDrive& drive);

// The devices built on the members, and on those in turn: device-mapper and RAID volumes
// (a LUKS or LVM root on a partition shows up only as such a holder in the mount table), and
// for an image file the loop devices whose backing file it is, with their partitions.
std::vector<FamilyMember> HoldersOf(const LinuxDriveEnv& env, const ResolvedDrive& drive,
                                    const std::vector<FamilyMember>& members);

// The mounts in env's mount table whose file system lives on one of the members: by device
// number, or by a source path naming a member's node.
std::vector<MountEntry> MountsOn(const LinuxDriveEnv& env,
                                 const std::vector<FamilyMember>& members);

// The active swap areas in env's swap table that are one of the members.
std::vector<std::string> SwapsOn(const LinuxDriveEnv& env,
                                 const std::vector<FamilyMember>& members);

} // namespace corvane::os::linux_os
