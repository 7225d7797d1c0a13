#pragma once
#include <memory>
#include <string>

#include "os/platform.h"

namespace corvane {

// The environment variable that replaces the machine's drives with a simulated bay.
inline constexpr const char* kSimBayVariable = "CORVANE_SIM";

struct HostPlatform {
    std::unique_ptr<os::Platform> platform;
    // Set when the platform cannot be built (for example a bad bay file); the front end shows
    // it and ends with a failure.
    std::string error;
    // The drives are those of a simulated bay.
    bool simulated = false;
};

// The native platform, with the drives of the simulated bay named by CORVANE_SIM when set. The
// bay file is read again at each listing of the drives, so that editing it and sending a device
// change plugs or pulls drives.
HostPlatform MakeHostPlatform();

} // namespace corvane
