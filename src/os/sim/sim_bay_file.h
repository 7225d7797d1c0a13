#pragma once
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "os/ini.h"
#include "os/sim/sim_bay.h"

namespace corvane::os::sim {

// A bay read from a file, or why it could not be: the error names the file, and where it can
// the line and the key ("bay.ini:7: key 'sector': '1000' is not a power of two ...").
struct BayLoad {
    std::unique_ptr<SimDriveBay> bay;
    std::string error;
};

// The drives a bay file describes, or why it cannot be read (as BayLoad's error).
struct BayDrives {
    std::optional<std::vector<SimDriveConfig>> drives;
    std::string error;
};
BayDrives ParseBayDrives(const std::string& path, const IniParseResult& ini);

// Reads a bay file with the system's INI reader: one section per drive, named by its drive
// name, with the keys of sim_bay_keys.h. Nothing falls back to a default silently: an
// unknown key, a bad value or a rule between keys broken is an error.
// The bay reads the file again at each listing of its drives (a device change), so editing
// the file plugs and pulls drives; a file that no longer reads keeps the drives as they were.
BayLoad LoadBayFile(const std::string& path);
// The same from a document already read; path only names the file in errors.
BayLoad ParseBayDocument(const std::string& path, const IniParseResult& ini);

} // namespace corvane::os::sim
