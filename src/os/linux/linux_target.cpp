#include "os/linux/linux_target.h"

#include <sys/stat.h>

#include <algorithm>
#include <iterator>

#include "os/linux/linux_device_family.h"
#include "os/linux/linux_drive_name.h"

namespace corvane::os::linux_os {
namespace {

bool IsSystemMountPoint(const std::string& mountPoint) {
    return mountPoint == "/" ||
           std::any_of(std::begin(kSystemMountPoints), std::end(kSystemMountPoints),
                       [&](const char* p) { return mountPoint == p; });
}

std::string DeviceOf(const MountEntry& mount, const std::vector<FamilyMember>& members) {
    for (const FamilyMember& m : members)
        if (m.dev == DevNumber{mount.major, mount.minor})
            return m.name;
    return BaseName(mount.source);
}

} // namespace

bool TargetDescription::HoldsRoot() const {
    return std::any_of(mounts.begin(), mounts.end(),
                       [](const TargetMount& m) { return m.mountPoint == "/"; });
}

bool TargetDescription::HoldsSystem() const {
    return !swaps.empty() ||
           std::any_of(mounts.begin(), mounts.end(), [](const TargetMount& m) { return m.system; });
}

TargetDescription DescribeTarget(const std::string& nameOrPath) {
    return DescribeTarget(LinuxDriveEnv{}, nameOrPath);
}

TargetDescription DescribeTarget(const LinuxDriveEnv& env, const std::string& nameOrPath) {
    TargetDescription target;
    const ResolvedDrive drive = ResolveDrive(env, nameOrPath);
    switch (drive.kind) {
    case ResolvedDrive::Kind::Missing: {
        struct stat st {};
        const bool exists =
            nameOrPath.find('/') != std::string::npos && stat(nameOrPath.c_str(), &st) == 0;
        target.kind = exists ? TargetDescription::Kind::Other : TargetDescription::Kind::Missing;
        return target;
    }
    case ResolvedDrive::Kind::ImageFile:
        target.kind = TargetDescription::Kind::RegularFile;
        break;
    case ResolvedDrive::Kind::BlockDevice:
        target.kind = TargetDescription::Kind::BlockDevice;
        target.wholeDisk = drive.diskName;
        target.partition = drive.partition;
        target.removable = ReadAttribute(drive.diskDir + "/removable") == "1";
        break;
    }
    target.name = drive.name;

    std::vector<FamilyMember> members = DeviceAndPartitions(drive);
    const std::vector<FamilyMember> holders = HoldersOf(env, drive, members);
    for (const FamilyMember& h : holders)
        target.holders.push_back(h.name);
    members.insert(members.end(), holders.begin(), holders.end());

    for (const MountEntry& mount : MountsOn(env, members))
        target.mounts.push_back(TargetMount{DeviceOf(mount, members), mount.mountPoint,
                                            mount.fsType, IsSystemMountPoint(mount.mountPoint)});
    target.swaps = SwapsOn(env, members);
    return target;
}

} // namespace corvane::os::linux_os
