#pragma once
#include <optional>

#include "os/system.h"

namespace corvane {

// Classifies a version record into the start-up's version code (-1 for a failed query).
int ClassifyWindowsVersion(const std::optional<os::VersionRecord>& version);

} // namespace corvane
