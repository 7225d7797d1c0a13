#include "os/linux/linux_bus_type.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "os/linux/linux_sysfs.h"

namespace corvane::os::linux_os {
namespace fs = std::filesystem;
namespace {

// "usb2" for prefix "usb": the prefix followed by digits only.
bool IsNumbered(std::string_view component, std::string_view prefix) {
    if (!component.starts_with(prefix) || component.size() == prefix.size())
        return false;
    for (char c : component.substr(prefix.size()))
        if (c < '0' || c > '9')
            return false;
    return true;
}

// libata writes "<unknown>" as the link speed of a parallel ATA link; a SATA link reports
// 1.5, 3.0 or 6.0 Gbps. Without any link attribute SATA is taken, the common case.
std::int32_t AtaBus(const fs::path& ataDir) {
    bool sawLink = false;
    std::error_code ec;
    fs::recursive_directory_iterator it(ataDir, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it.depth() > 3) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->path().filename() != "sata_spd")
            continue;
        sawLink = true;
        if (ReadAttribute(it->path().string()) != "<unknown>")
            return kBusSata;
    }
    return sawLink ? kBusAta : kBusSata;
}

} // namespace

std::optional<std::int32_t> BusTypeOf(const LinuxDriveEnv& env, const std::string& diskDir) {
    const std::string device = CanonicalPath(diskDir + "/device");
    if (device.empty())
        return std::nullopt;
    // Only the part below the sysfs root tells the transport; a test's root folder may hold
    // any name.
    std::string root = CanonicalPath(env.sysRoot);
    fs::path below = device;
    if (!root.empty() && device.starts_with(root + "/"))
        below = device.substr(root.size() + 1);

    fs::path walked = root.empty() ? fs::path("/") : fs::path(root);
    for (const auto& part : below) {
        walked /= part;
        const std::string component = part.string();
        if (IsNumbered(component, "usb"))
            return kBusUsb;
        if (IsNumbered(component, "ata"))
            return AtaBus(walked);
        if (component.starts_with("nvme"))
            return kBusNvme;
        if (IsNumbered(component, "mmc") || component == "mmc_host")
            return IsSdCard(diskDir) ? kBusSd : kBusMmc;
        if (IsNumbered(component, "virtio"))
            return kBusVirtual;
    }
    return std::nullopt;
}

bool TakesScsiCommands(const std::string& diskDir) {
    std::error_code ec;
    const fs::path subsystem = fs::read_symlink(diskDir + "/device/subsystem", ec);
    return !ec && subsystem.filename() == "scsi";
}

bool IsSdCard(const std::string& diskDir) {
    return BaseName(diskDir).starts_with("mmcblk") &&
           ReadAttribute(diskDir + "/device/type") == "SD";
}

} // namespace corvane::os::linux_os
