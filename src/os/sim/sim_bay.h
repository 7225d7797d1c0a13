#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "os/drives.h"
#include "os/sim/sim_drive.h"

namespace corvane::os::sim {

// A machine's drives replaced by simulated ones (usually described by a bay file, see
// sim_bay_file.h). Drive letters are listed as "E:\" entries, other names whole, all in
// alphabetical order as Windows lists its letters; a drive that vanished is no longer listed and
// every call on it fails. What is written persists for the life of
// the bay. Safe to use from several threads.
class SimDriveBay : public IDriveSystem {
public:
    explicit SimDriveBay(std::vector<SimDriveConfig> drives);

    // The bay now holds these drives, as if drives were plugged in and pulled out: a drive
    // described exactly as before stays as it is (its sectors, its handles, vanished or not),
    // a drive no longer described or described otherwise is pulled (its handles fail from now
    // on), and the others are plugged in new.
    void Replace(std::vector<SimDriveConfig> drives);
    // Where the drives come from: each listing of the drives (the answer to a device change)
    // first asks source and, when it answers, replaces the drives with its answer.
    using DriveSource = std::function<std::optional<std::vector<SimDriveConfig>>()>;
    void SetSource(DriveSource source);

    // The drive of that name ("E:", "e:" or "E:\" alike), also after it vanished; null when the
    // bay has none.
    std::shared_ptr<SimDrive> Drive(const std::string& name) const;

    std::optional<std::vector<std::string>> LogicalDriveStrings() override;
    DriveType GetDriveType(const std::string& drive) override;
    std::optional<std::int32_t> BusType(const std::string& drive) override;
    std::optional<DiskGeometry> Geometry(const std::string& drive) override;
    std::optional<DiskFreeSpace> FreeSpace(const std::string& drive) override;
    std::unique_ptr<IScsiDevice> OpenScsi(const std::string& drive) override;
    std::unique_ptr<IMediaChangeSwitch> OpenMediaChangeSwitch(const std::string& drive) override;
    std::unique_ptr<IRawVolume> OpenVolume(const std::string& drive, VolumeAccess access,
                                           VolumeShare share) override;

private:
    std::shared_ptr<SimDrive> Find(const std::string& name) const;
    std::vector<std::shared_ptr<SimDrive>> Drives() const;

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SimDrive>> drives_; // sorted by name
    DriveSource source_;
};

// The name a bay keeps for a drive: a letter entry ("e:" or "E:\") as upper-case letter and
// colon, any other name unchanged.
std::string BayDriveName(const std::string& name);
bool IsDriveLetterName(const std::string& name);

// The free-space counts that describe bytes free on a drive of sectorSize-byte sectors: whole
// clusters of a power-of-two number of sectors, with counts that fit 32 bits. nullopt when
// bytes cannot be described so.
std::optional<DiskFreeSpace> FreeSpaceCounts(std::uint64_t bytes, std::uint64_t totalBytes,
                                             std::uint32_t sectorSize);

} // namespace corvane::os::sim
