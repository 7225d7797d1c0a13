#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "os/scsi.h"
#include "os/volume.h"

namespace corvane::os {

// Drive types with the numbering of the Windows drive type query.
enum DriveType : std::uint32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamdisk = 6,
};

struct DiskGeometry {
    std::uint64_t cylinders = 0;
    std::uint32_t tracksPerCylinder = 0;
    std::uint32_t sectorsPerTrack = 0;
    std::uint32_t bytesPerSector = 0;
};

struct DiskFreeSpace {
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
    std::uint32_t freeClusters = 0;
    std::uint32_t totalClusters = 0;
};

// The machine's drives. A drive is named as the drive walk names it: on Windows (and in the
// simulated bay) a letter and a colon ("E:"), on Linux a block device name ("sdb") or a path.
// Every call opens what it needs and closes it again before returning, except the Open* calls,
// whose handle lives as long as the object they return.
class IDriveSystem {
public:
    virtual ~IDriveSystem() = default;

    // The drive strings in the system's order: "E:\" entries on Windows; nullopt when the
    // system cannot list them.
    virtual std::optional<std::vector<std::string>> LogicalDriveStrings() = 0;
    // The drive type of the drive's root.
    virtual DriveType GetDriveType(const std::string& drive) = 0;
    // The storage bus type (a STORAGE_BUS_TYPE value); nullopt when the query fails.
    virtual std::optional<std::int32_t> BusType(const std::string& drive) = 0;
    // The disk geometry; nullopt when the drive cannot be opened or the request fails.
    virtual std::optional<DiskGeometry> Geometry(const std::string& drive) = 0;
    // The free-space counts of the file system on the drive; nullopt on failure.
    virtual std::optional<DiskFreeSpace> FreeSpace(const std::string& drive) = 0;

    // Opens the drive for SCSI commands (read/write, shared); null on failure.
    virtual std::unique_ptr<IScsiDevice> OpenScsi(const std::string& drive) = 0;
    // Opens the handle that switches media change notification; null on failure.
    virtual std::unique_ptr<IMediaChangeSwitch> OpenMediaChangeSwitch(const std::string& drive) = 0;
    // Opens the raw volume; null on failure (the code is recorded as the last error).
    virtual std::unique_ptr<IRawVolume> OpenVolume(const std::string& drive, VolumeAccess access,
                                                   VolumeShare share) = 0;
};

} // namespace corvane::os
