#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "os/bus_type.h"
#include "os/drives.h"

namespace corvane::os::sim {

// What a read or write past the real capacity does.
enum class Beyond {
    Wrap,  // lands on sector s mod real: the start of the drive is overwritten
    Drop,  // writes are discarded, reads return zeros
    Error, // the transfer fails with an I/O error
};

// How the drive answers an INQUIRY.
enum class InquiryAnswer {
    Ok,    // the standard data
    Fail,  // the request itself fails
    Sense, // the request succeeds but the drive returns sense data (no medium)
};

// Sectors first to last, both included.
struct SectorRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    bool operator==(const SectorRange&) const = default;
};

// True when any range holds a sector of [first, first + count).
inline bool Touches(const std::vector<SectorRange>& ranges, std::uint64_t first,
                    std::uint64_t count) {
    for (const SectorRange& r : ranges) {
        if (count != 0 && r.first < first + count && r.last >= first)
            return true;
    }
    return false;
}

struct Chs {
    std::uint64_t cylinders = 0;
    std::uint32_t heads = 0;
    std::uint32_t sectorsPerTrack = 0;
    bool operator==(const Chs&) const = default;
};

// One simulated drive as a bay file describes it. An empty vendor, product or revision leaves
// that INQUIRY field zero-filled, as a device that reports no identity does.
struct SimDriveConfig {
    std::string name; // "E:" or a device name such as "sdb"
    std::string vendor = "Generic";
    std::string product = "Flash Disk";
    std::string revision = "1.00";
    std::uint8_t peripheral = 0;
    InquiryAnswer inquiry = InquiryAnswer::Ok;
    DriveType type = kDriveRemovable;
    std::int32_t bus = kBusUsb;
    std::uint32_t sector = 512;
    std::uint64_t size = 0;      // the capacity the drive claims, in bytes
    std::optional<Chs> geometry; // default: size / sector cylinders of one head and one sector
    std::optional<std::uint64_t> real; // bytes really stored; default: size
    Beyond beyond = Beyond::Wrap;
    std::uint64_t free = 0; // free bytes of the drive's file system

    // What failing and counterfeit drives do besides their capacity.
    // Recent writes, by sector, served to reads until pushed out by later ones.
    std::uint32_t cacheSectors = 0;
    // Transfers that touch these sectors fail with an I/O error.
    std::vector<SectorRange> readErrors;
    std::vector<SectorRange> writeErrors;
    // After this many transfers the drive is gone: every later call fails.
    std::optional<std::uint64_t> vanishAfter;
    // Every transfer takes this long.
    std::uint32_t delayMicroseconds = 0;
    // The volume lock is refused.
    bool lockRefused = false;
    // The geometry request fails.
    bool geometryFails = false;

    bool operator==(const SimDriveConfig&) const = default;

    std::uint64_t RealBytes() const { return real.value_or(size); }
    Chs Geometry() const { return geometry.value_or(Chs{size / sector, 1, 1}); }
    // The product of the geometry: the size the tool reads from the drive.
    std::uint64_t GeometryBytes() const {
        const Chs chs = Geometry();
        return chs.cylinders * chs.heads * chs.sectorsPerTrack * sector;
    }
    // The volume takes transfers over everything the drive claims: its size, or the product of
    // a geometry that reports more.
    std::uint64_t VolumeBytes() const { return std::max(size, GeometryBytes()); }
};

} // namespace corvane::os::sim
