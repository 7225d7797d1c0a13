#pragma once
#include <optional>
#include <string>
#include <vector>

#include "os/linux/linux_drive_env.h"

namespace corvane::os::linux_os {

// A block device number as sysfs writes it in a "dev" file ("8:16").
struct DevNumber {
    unsigned major = 0;
    unsigned minor = 0;
    friend bool operator==(const DevNumber&, const DevNumber&) = default;
};

// The first line of a sysfs attribute with surrounding white space removed; empty when the
// attribute is absent or unreadable.
std::string ReadAttribute(const std::string& path);
// The "dev" attribute of a sysfs block device folder.
std::optional<DevNumber> ReadDevNumber(const std::string& deviceDir);
std::string BaseName(const std::string& path);
// The canonical form of path; empty when it does not exist.
std::string CanonicalPath(const std::string& path);
// Order of names with runs of digits compared by value: loop2 before loop10.
bool NaturalLess(const std::string& a, const std::string& b);

// The names under <sysRoot>/block that can be drives, in natural order: devices of size 0
// (no medium, an unbound loop device) are left out, and so are RAM disks, compressed RAM
// swap, device-mapper and software RAID volumes (built from other drives, never a drive
// themselves) and floppy drives (never walked, as drives A: and B: are not). nullopt when the
// folder cannot be listed.
std::optional<std::vector<std::string>> ListDriveNames(const LinuxDriveEnv& env);

// The canonical folders of a whole disk's partitions, by partition number.
std::vector<std::string> PartitionDirs(const std::string& diskDir);
// The canonical folders of the devices built directly on a device (its "holders": a
// device-mapper or RAID volume).
std::vector<std::string> HolderDirs(const std::string& deviceDir);

} // namespace corvane::os::linux_os
