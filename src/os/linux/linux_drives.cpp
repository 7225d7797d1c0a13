#include "os/linux/linux_drives.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "os/last_error.h"
#include "os/linux/linux_bus_type.h"
#include "os/linux/linux_device_family.h"
#include "os/linux/linux_drive_name.h"
#include "os/linux/linux_drive_type.h"
#include "os/linux/linux_scsi.h"
#include "os/linux/linux_volume.h"

namespace corvane::os::linux_os {
namespace {

constexpr std::uint32_t kFallbackHeads = 255;
constexpr std::uint32_t kFallbackSectorsPerTrack = 63;
constexpr std::uint32_t kFileSectorBytes = 512;

void RecordError(int error) {
    SetLastOsError(static_cast<std::uint32_t>(error));
}

DiskGeometry FromSize(std::uint64_t size, std::uint32_t bytesPerSector, std::uint32_t heads,
                      std::uint32_t sectorsPerTrack) {
    DiskGeometry g;
    g.bytesPerSector = bytesPerSector;
    g.tracksPerCylinder = heads;
    g.sectorsPerTrack = sectorsPerTrack;
    const std::uint64_t cylinder = std::uint64_t{heads} * sectorsPerTrack * bytesPerSector;
    g.cylinders = cylinder == 0 ? 0 : size / cylinder;
    return g;
}

// Clusters as Windows counts them: bytes per sector from the disk, the file system's fragment
// as the cluster, and counts that fit 32 bits (a larger file system is counted in larger
// clusters, which keeps the byte totals).
DiskFreeSpace ToClusters(const struct statvfs& vfs, std::uint32_t bytesPerSector) {
    DiskFreeSpace space;
    std::uint64_t cluster = vfs.f_frsize != 0 ? vfs.f_frsize : vfs.f_bsize;
    if (bytesPerSector == 0 || cluster < bytesPerSector || cluster % bytesPerSector != 0)
        bytesPerSector = static_cast<std::uint32_t>(cluster);
    std::uint64_t sectorsPerCluster = cluster / bytesPerSector;
    std::uint64_t freeClusters = vfs.f_bavail;
    std::uint64_t totalClusters = vfs.f_blocks;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    while ((freeClusters > kMax || totalClusters > kMax) && sectorsPerCluster < kMax / 2) {
        sectorsPerCluster *= 2;
        freeClusters /= 2;
        totalClusters /= 2;
    }
    space.bytesPerSector = bytesPerSector;
    space.sectorsPerCluster = static_cast<std::uint32_t>(sectorsPerCluster);
    space.freeClusters = static_cast<std::uint32_t>(std::min(freeClusters, kMax));
    space.totalClusters = static_cast<std::uint32_t>(std::min(totalClusters, kMax));
    return space;
}

class LinuxDriveSystem : public IDriveSystem {
public:
    explicit LinuxDriveSystem(const LinuxDriveEnv& env) : env_(env) {}

    std::optional<std::vector<std::string>> LogicalDriveStrings() override {
        auto names = ListDriveNames(env_);
        if (!names)
            RecordError(ENOENT);
        return names;
    }

    DriveType GetDriveType(const std::string& drive) override {
        return DriveTypeOf(ResolveDrive(env_, drive));
    }

    std::optional<std::int32_t> BusType(const std::string& drive) override {
        const ResolvedDrive resolved = ResolveDrive(env_, drive);
        if (resolved.kind != ResolvedDrive::Kind::BlockDevice) {
            RecordError(resolved.kind == ResolvedDrive::Kind::Missing ? resolved.error : ENOTTY);
            return std::nullopt;
        }
        auto bus = BusTypeOf(env_, resolved.diskDir);
        if (!bus)
            RecordError(ENOTTY);
        return bus;
    }

    std::optional<DiskGeometry> Geometry(const std::string& drive) override {
        const ResolvedDrive resolved = ResolveDrive(env_, drive);
        if (resolved.kind == ResolvedDrive::Kind::ImageFile) {
            struct stat st {};
            if (stat(resolved.node.c_str(), &st) != 0) {
                RecordError(errno);
                return std::nullopt;
            }
            return FromSize(static_cast<std::uint64_t>(st.st_size), kFileSectorBytes,
                            kFallbackHeads, kFallbackSectorsPerTrack);
        }
        // Read-only: closing a descriptor opened for writing makes udev announce a change.
        const int fd = OpenResolved(resolved, O_RDONLY | O_NONBLOCK);
        if (fd < 0) {
            RecordError(errno);
            return std::nullopt;
        }
        std::uint32_t sector = 0;
        std::uint64_t size = 0;
        HdGeometry hd;
        int rc = env_.calls->LogicalSectorSize(fd, sector);
        if (rc == 0)
            rc = env_.calls->SizeInBytes(fd, size);
        // The request's own cylinder count is 16 bits wide and wraps on any disk over about
        // 500 GB: only its heads and sectors per track are taken.
        const bool hdOk =
            env_.calls->Geometry(fd, hd) == 0 && hd.heads != 0 && hd.sectorsPerTrack != 0;
        close(fd);
        if (rc != 0) {
            RecordError(rc);
            return std::nullopt;
        }
        if (sector == 0) {
            RecordError(EINVAL);
            return std::nullopt;
        }
        return hdOk ? FromSize(size, sector, hd.heads, hd.sectorsPerTrack)
                    : FromSize(size, sector, kFallbackHeads, kFallbackSectorsPerTrack);
    }

    std::optional<DiskFreeSpace> FreeSpace(const std::string& drive) override {
        const ResolvedDrive resolved = ResolveDrive(env_, drive);
        if (resolved.kind != ResolvedDrive::Kind::BlockDevice) {
            RecordError(resolved.kind == ResolvedDrive::Kind::Missing ? resolved.error : ENOENT);
            return std::nullopt;
        }
        const std::vector<FamilyMember> members = DeviceAndPartitions(resolved);
        std::vector<MountEntry> mounts = MountsOn(env_, {members.front()});
        if (mounts.empty() && members.size() > 1)
            mounts = MountsOn(env_, {members[1]});
        if (mounts.empty()) {
            RecordError(ENOENT);
            return std::nullopt;
        }
        struct statvfs vfs {};
        if (statvfs(mounts.front().mountPoint.c_str(), &vfs) != 0) {
            RecordError(errno);
            return std::nullopt;
        }
        const std::string sector = ReadAttribute(resolved.diskDir + "/queue/logical_block_size");
        const unsigned long bytesPerSector = std::strtoul(sector.c_str(), nullptr, 10);
        return ToClusters(vfs, bytesPerSector != 0 && bytesPerSector <= 65536
                                   ? static_cast<std::uint32_t>(bytesPerSector)
                                   : kFileSectorBytes);
    }

    std::unique_ptr<IScsiDevice> OpenScsi(const std::string& drive) override {
        return OpenLinuxScsi(env_, ResolveDrive(env_, drive));
    }

    std::unique_ptr<IMediaChangeSwitch> OpenMediaChangeSwitch(const std::string& drive) override {
        return OpenLinuxMediaChangeSwitch(ResolveDrive(env_, drive));
    }

    std::unique_ptr<IRawVolume> OpenVolume(const std::string& drive, VolumeAccess access,
                                           VolumeShare share) override {
        return OpenLinuxVolume(env_, ResolveDrive(env_, drive), access, share);
    }

private:
    LinuxDriveEnv env_;
};

} // namespace

std::unique_ptr<IDriveSystem> MakeLinuxDrives(const LinuxDriveEnv& env) {
    return std::make_unique<LinuxDriveSystem>(env);
}

} // namespace corvane::os::linux_os
