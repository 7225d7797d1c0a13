#include "os/linux/linux_device_family.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace corvane::os::linux_os {
namespace {

std::optional<FamilyMember> MemberAt(const std::string& sysDir) {
    const auto dev = ReadDevNumber(sysDir);
    if (!dev)
        return std::nullopt;
    return FamilyMember{BaseName(sysDir), *dev, sysDir};
}

bool Contains(const std::vector<FamilyMember>& members, const DevNumber& dev) {
    return std::any_of(members.begin(), members.end(),
                       [&](const FamilyMember& m) { return m.dev == dev; });
}

// Whether path names one of the members: as <devRoot>/<name>, or as any node (a symlink
// under /dev/mapper or /dev/disk) of the same device.
bool NamesMember(const LinuxDriveEnv& env, const std::string& path,
                 const std::vector<FamilyMember>& members) {
    if (path.empty() || path.front() != '/')
        return false;
    for (const FamilyMember& m : members)
        if (path == env.devRoot + "/" + m.name)
            return true;
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISBLK(st.st_mode) &&
           Contains(members, DevNumber{major(st.st_rdev), minor(st.st_rdev)});
}

// The loop devices whose backing file is the image file.
std::vector<std::string> LoopsBackedBy(const LinuxDriveEnv& env, const std::string& file) {
    std::vector<std::string> dirs;
    const std::string target = CanonicalPath(file);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(env.sysRoot + "/block", ec)) {
        const std::string dir = CanonicalPath(entry.path().string());
        const std::string backing = ReadAttribute(dir + "/loop/backing_file");
        if (!backing.empty() && !target.empty() && CanonicalPath(backing) == target)
            dirs.push_back(dir);
    }
    std::sort(dirs.begin(), dirs.end());
    return dirs;
}

void AddWithPartitions(std::vector<FamilyMember>& out, const std::string& dir) {
    if (const auto member = MemberAt(dir))
        out.push_back(*member);
    for (const std::string& part : PartitionDirs(dir))
        if (const auto member = MemberAt(part))
            out.push_back(*member);
}

} // namespace

std::vector<FamilyMember> DeviceAndPartitions(const ResolvedDrive& drive) {
    std::vector<FamilyMember> members;
    if (drive.kind != ResolvedDrive::Kind::BlockDevice)
        return members;
    members.push_back(FamilyMember{drive.name, drive.dev, drive.sysDir});
    if (!drive.partition)
        for (const std::string& dir : PartitionDirs(drive.sysDir))
            if (const auto member = MemberAt(dir))
                members.push_back(*member);
    return members;
}

std::vector<FamilyMember> HoldersOf(const LinuxDriveEnv& env, const ResolvedDrive& drive,
                                    const std::vector<FamilyMember>& members) {
    std::vector<FamilyMember> holders;
    if (drive.kind == ResolvedDrive::Kind::ImageFile)
        for (const std::string& dir : LoopsBackedBy(env, drive.node))
            AddWithPartitions(holders, dir);

    std::vector<std::string> pending;
    for (const FamilyMember& m : members)
        pending.push_back(m.sysDir);
    for (const FamilyMember& m : holders)
        pending.push_back(m.sysDir);
    // Walks the holder graph; the device numbers seen keep a cycle from looping.
    while (!pending.empty()) {
        const std::string dir = pending.back();
        pending.pop_back();
        for (const std::string& holderDir : HolderDirs(dir)) {
            const auto holder = MemberAt(holderDir);
            if (!holder || Contains(members, holder->dev) || Contains(holders, holder->dev))
                continue;
            holders.push_back(*holder);
            pending.push_back(holderDir);
            for (const std::string& part : PartitionDirs(holderDir))
                if (const auto member = MemberAt(part); member && !Contains(holders, member->dev)) {
                    holders.push_back(*member);
                    pending.push_back(part);
                }
        }
    }
    return holders;
}

std::vector<MountEntry> MountsOn(const LinuxDriveEnv& env,
                                 const std::vector<FamilyMember>& members) {
    std::vector<MountEntry> found;
    if (members.empty())
        return found;
    for (MountEntry& mount : ParseMountInfo(ReadWholeFile(env.mountInfoPath)))
        if (Contains(members, DevNumber{mount.major, mount.minor}) ||
            NamesMember(env, mount.source, members))
            found.push_back(std::move(mount));
    return found;
}

std::vector<std::string> SwapsOn(const LinuxDriveEnv& env,
                                 const std::vector<FamilyMember>& members) {
    std::vector<std::string> found;
    if (members.empty())
        return found;
    for (std::string& swap : ParseSwaps(ReadWholeFile(env.swapsPath)))
        if (NamesMember(env, swap, members))
            found.push_back(std::move(swap));
    return found;
}

} // namespace corvane::os::linux_os
