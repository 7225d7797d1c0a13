#include "hosts/host_platform.h"

#include <cstdlib>

#include "os/native.h"
#include "os/sim/sim_bay_file.h"

namespace corvane {

HostPlatform MakeHostPlatform() {
    HostPlatform result;
    const char* bayFile = std::getenv(kSimBayVariable);
    if (bayFile != nullptr && *bayFile != '\0') {
        // The bay replaces the drives only: system services and settings stay the machine's.
        os::sim::BayLoad load = os::sim::LoadBayFile(bayFile);
        if (!load.bay) {
            result.error = load.error;
            return result;
        }
        result.platform = os::MakeNativePlatform();
        result.platform->drives = std::move(load.bay);
        result.simulated = true;
        return result;
    }
    result.platform = os::MakeNativePlatform();
    return result;
}

} // namespace corvane
