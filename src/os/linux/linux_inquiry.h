#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "os/linux/linux_drive_name.h"
#include "os/scsi.h"

namespace corvane::os::linux_os {

// What a device that takes no SCSI commands is known by, gathered from sysfs.
struct SysfsIdentity {
    std::string vendor;
    std::string product;
    std::string revision;
    bool removable = false;
};

inline constexpr std::size_t kStandardInquiryLength = InquiryLayout::kStandardLength;
using InquiryData = std::array<std::uint8_t, kStandardInquiryLength>;

// Vendor: device/vendor (not a numeric bus id), the card's OEM id or manufacturer id, else a
// fixed name for the kind of device ("MMC", "Loop", "NVMe", "Virtio", "File", "Block").
// Product: device/model, device/name, the base name of a loop device's backing file or of an
// image file, else the kernel name. Revision: device/rev, fwrev, firmware_rev or hwrev.
SysfsIdentity IdentityFromSysfs(const ResolvedDrive& drive);

// Standard INQUIRY data for that identity: a connected direct-access device (byte 0 = 0),
// the removable bit, and the text fields blank-padded (or cut) to their width.
InquiryData BuildInquiryData(const SysfsIdentity& identity);

} // namespace corvane::os::linux_os
