#include "frontend/front_platform.h"

#include <cstdlib>

#include "os/native.h"

namespace corvane {

FrontPlatform MakeFrontPlatform() {
    FrontPlatform result;
    result.platform = os::MakeNativePlatform();
    // The simulated bay replaces the drives here once it exists.
    return result;
}

} // namespace corvane
