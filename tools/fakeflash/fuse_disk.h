#pragma once
#include <string>

#include "fake_drive.h"

namespace corvane::fakeflash {

struct MountRequest {
    std::string mountpoint;
    bool foreground = false;
    bool directIo = true;
    bool debug = false;
    std::string fuseOptions;
};

// Serves `drive` as MOUNTPOINT/disk until the file system is unmounted (or the process is
// told to stop). Returns 0 after a clean unmount, 1 when mounting failed.
int ServeDisk(FakeDrive& drive, const MountRequest& request);

} // namespace corvane::fakeflash
