#pragma once
#include <memory>
#include <string>

#include "os/volume.h"

namespace corvane::os::win32_os {

// Opens a raw volume (or any path CreateFileA takes) with the access and sharing asked for,
// OPEN_EXISTING and no flags: no FILE_FLAG_NO_BUFFERING, so every transfer goes through the
// system cache and the caller's Flush pushes writes to the device. Null on failure (the code
// is recorded as the last error).
std::unique_ptr<IRawVolume> OpenRawVolume(const std::string& path, VolumeAccess access,
                                          VolumeShare share);

} // namespace corvane::os::win32_os
