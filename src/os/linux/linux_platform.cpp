#include "os/linux/linux_drives.h"
#include "os/linux/linux_system.h"
#include "os/native.h"

namespace corvane::os {

std::unique_ptr<Platform> MakeNativePlatform() {
    auto platform = std::make_unique<Platform>();
    platform->system = linux_os::MakeLinuxSystem();
    platform->settings = linux_os::MakeLinuxSettings();
    platform->drives = linux_os::MakeLinuxDrives();
    return platform;
}

} // namespace corvane::os
