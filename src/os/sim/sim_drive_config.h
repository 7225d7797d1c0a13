#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

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

struct Chs {
    std::uint64_t cylinders = 0;
    std::uint32_t heads = 0;
    std::uint32_t sectorsPerTrack = 0;
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
    std::int32_t bus = kBusTypeUsb;
    std::uint32_t sector = 512;
    std::uint64_t size = 0;      // the capacity the drive claims, in bytes
    std::optional<Chs> geometry; // default: size / sector cylinders of one head and one sector
    std::optional<std::uint64_t> real; // bytes really stored; default: size
    Beyond beyond = Beyond::Wrap;
    std::uint64_t free = 0; // free bytes of the drive's file system

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
