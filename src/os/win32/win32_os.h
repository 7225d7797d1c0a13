#pragma once
#include <memory>
#include <optional>
#include <string>

#include "os/drives.h"
#include "os/settings.h"
#include "os/system.h"

namespace corvane::os::win32_os {

std::unique_ptr<ISystem> MakeWin32System();
// Settings in HKEY_CURRENT_USER\Software\<registry key>\<app name>\<section>, one REG_DWORD
// value per key.
std::unique_ptr<ISettingsProvider> MakeWin32Settings();
std::unique_ptr<IDriveSystem> MakeWin32Drives();

// The path that opens a drive's device: "\\.\" followed by the drive name ("E:" gives
// "\\.\E:"). A name that already is a path (C:\x\disk.img, \\.\PhysicalDrive2) is used as it
// stands. A plain name longer than 95 characters gives nullopt: cutting it would open another
// device than the one named.
std::optional<std::string> DevicePath(const std::string& drive);

// The root of a drive for the drive type and free space queries: "E:" gives "E:\".
std::string RootPath(const std::string& drive);

} // namespace corvane::os::win32_os
