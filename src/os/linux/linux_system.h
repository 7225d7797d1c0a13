#pragma once
#include <memory>

#include "os/settings.h"
#include "os/system.h"

namespace corvane::os::linux_os {

std::unique_ptr<ISystem> MakeLinuxSystem();
// INI settings: $XDG_CONFIG_HOME (default ~/.config) / <registry key> / <app name>.ini, with
// one [section] per settings section.
std::unique_ptr<ISettingsProvider> MakeLinuxSettings();
// The settings file the provider uses for registryKey and appName.
std::string SettingsFilePath(const std::string& registryKey, const std::string& appName);

} // namespace corvane::os::linux_os
