#include "drives/drive_size.h"

namespace corvane {

std::uint64_t GetDriveSize(os::IDriveSystem& drives, const std::string& drive,
                           std::atomic<std::uint32_t>& sectorSize) {
    const std::optional<os::DiskGeometry> geometry = drives.Geometry(drive);
    // A geometry without a sector size would leave every caller dividing by zero; it counts
    // as unreadable.
    if (!geometry || geometry->bytesPerSector == 0)
        return 0;
    const std::uint64_t size = std::uint64_t{geometry->bytesPerSector} * geometry->sectorsPerTrack *
                               geometry->tracksPerCylinder * geometry->cylinders;
    sectorSize.store(geometry->bytesPerSector);
    return size;
}

} // namespace corvane
