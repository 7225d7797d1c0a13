#pragma once
#include <memory>

#include "os/drives.h"
#include "os/settings.h"
#include "os/system.h"

namespace corvane::os {

// Everything the portable logic needs from the operating system, built once by a front end's
// main (or by a test) and handed down explicitly.
struct Platform {
    std::unique_ptr<ISystem> system;
    std::unique_ptr<ISettingsProvider> settings;
    std::unique_ptr<IDriveSystem> drives;
};

} // namespace corvane::os
