#pragma once
#include <string>
#include <vector>

#include "os/linux/linux_drive_env.h"

namespace corvane::os::linux_os {

// A mounted file system that lives on a target.
struct TargetMount {
    std::string device;     // kernel name of the mounted device: "sdb1", "dm-0", "loop3"
    std::string mountPoint; // with the mount table's escapes undone
    std::string fsType;
    bool system = false; // "/" or one of kSystemMountPoints
};

// What a name or path given to a destructive command stands for, for the safety checks
// that run before anything is written.
struct TargetDescription {
    enum class Kind {
        Missing,     // nothing there, or a kernel name sysfs does not know
        BlockDevice, // a whole disk or a partition
        RegularFile, // an image file
        Other,       // a folder, a character device, ...
    };
    Kind kind = Kind::Missing;
    std::string name;      // kernel name ("sdb", "sdb1"), or an image file's base name
    std::string wholeDisk; // kernel name of the whole disk ("sdb"); empty for a file
    bool partition = false;
    bool removable = false;           // the whole disk's sysfs "removable" attribute reads 1
    std::vector<std::string> holders; // devices built on it: dm-0, md0, loop devices of a file
    std::vector<TargetMount> mounts;  // every mount of it, its partitions and its holders
    std::vector<std::string> swaps;   // active swap areas on any of those

    bool HoldsRoot() const;   // one of the mounts is "/"
    bool HoldsSystem() const; // a system mount, or swap in use
};

// Mount points whose file system the running system needs besides "/".
inline constexpr const char* kSystemMountPoints[] = {"/boot", "/boot/efi", "/efi",
                                                     "/usr",  "/var",      "/home"};

// Describes a target named as the drive backend takes names: a kernel name ("sdb") or a path
// (/dev/sdb, /dev/sdb1, an image file). Never opens the target; reads only sysfs, the mount
// table and the swap table of env. For a whole disk the mounts and swaps include those of its
// partitions; for every target those of the devices built on it (an encrypted or LVM root on
// a partition is mounted from a device-mapper holder, never from the partition) and, for an
// image file, those of the loop devices it backs.
TargetDescription DescribeTarget(const std::string& nameOrPath);
TargetDescription DescribeTarget(const LinuxDriveEnv& env, const std::string& nameOrPath);

} // namespace corvane::os::linux_os
