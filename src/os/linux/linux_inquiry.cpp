#include "os/linux/linux_inquiry.h"

#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "os/linux/linux_drive_type.h"
#include "os/linux/linux_sysfs.h"
#include "os/scsi.h"

namespace corvane::os::linux_os {
namespace {

using Layout = InquiryLayout;
constexpr std::size_t kVendorAt = Layout::kVendorAt;
constexpr std::size_t kVendorWidth = Layout::kVendorWidth;
constexpr std::size_t kProductAt = Layout::kProductAt;
constexpr std::size_t kProductWidth = Layout::kProductWidth;
constexpr std::size_t kRevisionAt = Layout::kRevisionAt;
constexpr std::size_t kRevisionWidth = Layout::kRevisionWidth;

struct KindName {
    std::string_view prefix;
    std::string_view vendor;
};
constexpr KindName kKindNames[] = {
    {"mmcblk", "MMC"}, {"loop", "Loop"}, {"nvme", "NVMe"}, {"vd", "Virtio"}};

// "0x5344" holds two ASCII letters ("SD"); the card's OEM id is written that way.
std::string OemText(const std::string& hex) {
    const unsigned long value = std::strtoul(hex.c_str(), nullptr, 16);
    const char high = static_cast<char>((value >> 8) & 0xFF);
    const char low = static_cast<char>(value & 0xFF);
    auto printable = [](char c) { return c > ' ' && c < 0x7F; };
    if (value > 0xFFFF || !printable(high) || !printable(low))
        return {};
    return std::string{high, low};
}

std::string FirstOf(const std::string& dir, std::initializer_list<const char*> attributes) {
    for (const char* attribute : attributes) {
        std::string value = ReadAttribute(dir + "/" + attribute);
        if (!value.empty())
            return value;
    }
    return {};
}

std::string Vendor(const ResolvedDrive& drive) {
    if (drive.kind == ResolvedDrive::Kind::ImageFile)
        return "File";
    const std::string device = drive.diskDir + "/device";
    const std::string vendor = ReadAttribute(device + "/vendor");
    if (!vendor.empty() && !vendor.starts_with("0x"))
        return vendor;
    std::string card = OemText(ReadAttribute(device + "/oemid"));
    if (card.empty())
        card = ReadAttribute(device + "/manfid");
    if (!card.empty())
        return card;
    for (const KindName& kind : kKindNames)
        if (drive.diskName.starts_with(kind.prefix))
            return std::string(kind.vendor);
    return "Block";
}

std::string Product(const ResolvedDrive& drive) {
    if (drive.kind == ResolvedDrive::Kind::ImageFile)
        return drive.name;
    std::string product = FirstOf(drive.diskDir + "/device", {"model", "name"});
    if (product.empty()) {
        const std::string backing = ReadAttribute(drive.diskDir + "/loop/backing_file");
        product = backing.empty() ? drive.diskName : BaseName(backing);
    }
    return product;
}

void PutField(InquiryData& data, std::size_t at, std::size_t width, const std::string& text) {
    for (std::size_t i = 0; i < width; ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        // The fields are printable ASCII; anything else would end the text early or garble it.
        data[at + i] = static_cast<std::uint8_t>(c >= ' ' && c < 0x7F ? c : '?');
    }
}

} // namespace

SysfsIdentity IdentityFromSysfs(const ResolvedDrive& drive) {
    SysfsIdentity identity;
    identity.vendor = Vendor(drive);
    identity.product = Product(drive);
    if (drive.kind == ResolvedDrive::Kind::BlockDevice)
        identity.revision =
            FirstOf(drive.diskDir + "/device", {"rev", "fwrev", "firmware_rev", "hwrev"});
    identity.removable = DriveTypeOf(drive) == kDriveRemovable;
    return identity;
}

InquiryData BuildInquiryData(const SysfsIdentity& identity) {
    InquiryData data{};
    data[0] = 0x00;                             // connected direct-access block device
    data[1] = identity.removable ? 0x80 : 0x00; // removable medium
    data[2] = 0x00;                             // no version of the standard is claimed
    data[3] = 0x02;                             // response data format
    data[4] = kStandardInquiryLength - 5;       // additional length
    PutField(data, kVendorAt, kVendorWidth, identity.vendor);
    PutField(data, kProductAt, kProductWidth, identity.product);
    PutField(data, kRevisionAt, kRevisionWidth, identity.revision);
    return data;
}

} // namespace corvane::os::linux_os
