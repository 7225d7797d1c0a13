#include "os/sim/sim_bay.h"

#include <algorithm>
#include <limits>

#include "os/last_error.h"
#include "os/sim/sim_error_codes.h"
#include "os/sim/sim_handles.h"

namespace corvane::os::sim {
namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

bool IsDriveLetterName(const std::string& name) {
    return name.size() >= 2 && IsLetter(name[0]) && name[1] == ':' &&
           (name.size() == 2 || name.substr(2) == "\\");
}

std::string BayDriveName(const std::string& name) {
    if (!IsDriveLetterName(name))
        return name;
    return std::string{static_cast<char>(name[0] & ~0x20), ':'};
}

std::optional<DiskFreeSpace> FreeSpaceCounts(std::uint64_t bytes, std::uint64_t totalBytes,
                                             std::uint32_t sectorSize) {
    constexpr std::uint64_t kMaxCount = std::numeric_limits<std::uint32_t>::max();
    for (std::uint64_t perCluster = 1; perCluster <= 0x80000000ULL; perCluster *= 2) {
        const std::uint64_t cluster = perCluster * sectorSize;
        if (bytes % cluster != 0)
            return std::nullopt;
        if (bytes / cluster <= kMaxCount) {
            DiskFreeSpace space;
            space.sectorsPerCluster = static_cast<std::uint32_t>(perCluster);
            space.bytesPerSector = sectorSize;
            space.freeClusters = static_cast<std::uint32_t>(bytes / cluster);
            space.totalClusters =
                static_cast<std::uint32_t>(std::min(totalBytes / cluster, kMaxCount));
            return space;
        }
    }
    return std::nullopt;
}

namespace {

bool ByName(const std::shared_ptr<SimDrive>& a, const std::shared_ptr<SimDrive>& b) {
    return a->Config().name < b->Config().name;
}

} // namespace

SimDriveBay::SimDriveBay(std::vector<SimDriveConfig> drives) {
    for (SimDriveConfig& config : drives) {
        config.name = BayDriveName(config.name);
        drives_.push_back(std::make_shared<SimDrive>(std::move(config)));
    }
    std::sort(drives_.begin(), drives_.end(), ByName);
}

void SimDriveBay::Replace(std::vector<SimDriveConfig> drives) {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<SimDrive>> next;
    for (SimDriveConfig& config : drives) {
        config.name = BayDriveName(config.name);
        auto same = std::find_if(drives_.begin(), drives_.end(),
                                 [&](const auto& d) { return d && d->Config() == config; });
        if (same != drives_.end()) {
            next.push_back(std::move(*same));
            continue;
        }
        next.push_back(std::make_shared<SimDrive>(std::move(config)));
    }
    for (const auto& left : drives_)
        if (left)
            left->Pull();
    std::sort(next.begin(), next.end(), ByName);
    drives_ = std::move(next);
}

void SimDriveBay::SetSource(DriveSource source) {
    std::lock_guard lock(mutex_);
    source_ = std::move(source);
}

std::vector<std::shared_ptr<SimDrive>> SimDriveBay::Drives() const {
    std::lock_guard lock(mutex_);
    return drives_;
}

std::shared_ptr<SimDrive> SimDriveBay::Find(const std::string& name) const {
    std::shared_ptr<SimDrive> drive = Drive(name);
    if (!drive) {
        SetLastOsError(kSimErrorNoDrive);
        return nullptr;
    }
    // A drive that vanished is answered for no more.
    if (drive->Gone()) {
        SetLastOsError(kSimErrorGone);
        return nullptr;
    }
    return drive;
}

std::shared_ptr<SimDrive> SimDriveBay::Drive(const std::string& name) const {
    const std::string wanted = BayDriveName(name);
    for (const auto& drive : Drives()) {
        if (drive->Config().name == wanted)
            return drive;
    }
    return nullptr;
}

std::optional<std::vector<std::string>> SimDriveBay::LogicalDriveStrings() {
    DriveSource source;
    {
        std::lock_guard lock(mutex_);
        source = source_;
    }
    if (source) {
        if (std::optional<std::vector<SimDriveConfig>> drives = source())
            Replace(std::move(*drives));
    }
    std::vector<std::string> entries;
    for (const auto& drive : Drives()) {
        if (drive->Gone())
            continue;
        const std::string& name = drive->Config().name;
        entries.push_back(IsDriveLetterName(name) ? name + "\\" : name);
    }
    return entries;
}

DriveType SimDriveBay::GetDriveType(const std::string& name) {
    const auto drive = Find(name);
    return drive ? drive->Config().type : kDriveNoRootDir;
}

std::optional<std::int32_t> SimDriveBay::BusType(const std::string& name) {
    // The query opens the drive (shared), so it fails while the drive is held unshared.
    const auto drive = Find(name);
    if (!drive)
        return std::nullopt;
    const SimDrive::Opened opened = drive->Open(VolumeShare::ReadWrite);
    if (opened.error != 0) {
        SetLastOsError(opened.error);
        return std::nullopt;
    }
    drive->Close(opened.id);
    return drive->Config().bus;
}

std::optional<DiskGeometry> SimDriveBay::Geometry(const std::string& name) {
    const auto drive = Find(name);
    if (!drive)
        return std::nullopt;
    const SimDrive::Opened opened = drive->Open(VolumeShare::ReadWrite);
    if (opened.error != 0) {
        SetLastOsError(opened.error);
        return std::nullopt;
    }
    drive->Close(opened.id);
    const SimDriveConfig& config = drive->Config();
    if (config.geometryFails) {
        SetLastOsError(kSimErrorIo);
        return std::nullopt;
    }
    const Chs chs = config.Geometry();
    return DiskGeometry{chs.cylinders, chs.heads, chs.sectorsPerTrack, config.sector};
}

std::optional<DiskFreeSpace> SimDriveBay::FreeSpace(const std::string& name) {
    const auto drive = Find(name);
    if (!drive)
        return std::nullopt;
    const SimDriveConfig& config = drive->Config();
    // The bay file is checked to give a describable figure; anything else reads as none free.
    return FreeSpaceCounts(config.free, config.size, config.sector).value_or(DiskFreeSpace{});
}

std::unique_ptr<IScsiDevice> SimDriveBay::OpenScsi(const std::string& name) {
    const auto drive = Find(name);
    if (!drive)
        return nullptr;
    return OpenSimScsi(drive);
}

std::unique_ptr<IMediaChangeSwitch> SimDriveBay::OpenMediaChangeSwitch(const std::string& name) {
    const auto drive = Find(name);
    if (!drive)
        return nullptr;
    return OpenSimMediaChangeSwitch(drive);
}

std::unique_ptr<IRawVolume> SimDriveBay::OpenVolume(const std::string& name, VolumeAccess access,
                                                    VolumeShare share) {
    const auto drive = Find(name);
    if (!drive)
        return nullptr;
    return OpenSimVolume(drive, access, share);
}

} // namespace corvane::os::sim
