#pragma once
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "os/sim/sim_drive_config.h"

namespace corvane::os::sim {

// One key of a drive section in a bay file. A new key is one entry of the table.
struct BayKey {
    const char* name;
    // Reads value into the drive; returns the reason when the value is not acceptable, empty
    // on success.
    std::string (*read)(std::string_view value, SimDriveConfig& drive);
};

// Every key, in the order the bay file documentation lists them.
std::span<const BayKey> BayKeys();
const BayKey* FindBayKey(std::string_view name);
// The key names joined with ", " (for the unknown-key message).
std::string BayKeyNames();

// A rule between keys that a drive breaks, with the key to blame.
struct BayKeyError {
    std::string key;
    std::string reason;
};
// Checks what holds between keys once every key of a drive was read. given holds the keys the
// file set; only those are blamed.
std::optional<BayKeyError> CheckBayDrive(const SimDriveConfig& drive,
                                         const std::map<std::string, int>& given);

} // namespace corvane::os::sim
