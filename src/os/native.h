#pragma once
#include <memory>

#include "os/platform.h"

namespace corvane::os {

// The platform of the OS this build runs on (Win32 or Linux): real system services, the
// per-user settings store and the machine's drives.
std::unique_ptr<Platform> MakeNativePlatform();

} // namespace corvane::os
