#include "os/native.h"
#include "os/win32/win32_os.h"

namespace corvane::os {

std::unique_ptr<Platform> MakeNativePlatform() {
    auto platform = std::make_unique<Platform>();
    platform->system = win32_os::MakeWin32System();
    platform->settings = win32_os::MakeWin32Settings();
    platform->drives = win32_os::MakeWin32Drives();
    return platform;
}

} // namespace corvane::os
