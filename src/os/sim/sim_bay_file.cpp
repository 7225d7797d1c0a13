#include "os/sim/sim_bay_file.h"

#include <map>

#include "os/sim/sim_bay_keys.h"

namespace corvane::os::sim {
namespace {

bool IsDeviceNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

// A section names a drive: a letter and a colon (E:), or a device name such as sdb or loop3.
bool IsDriveName(const std::string& name) {
    if (IsDriveLetterName(name))
        return name.size() == 2;
    // A lone letter is a drive letter that lost its colon.
    if (name.empty() || (name.size() == 1 && !(name[0] >= '0' && name[0] <= '9')))
        return false;
    for (char c : name) {
        if (!IsDeviceNameChar(c))
            return false;
    }
    return true;
}

std::string At(const std::string& path, int line) {
    return line > 0 ? path + ":" + std::to_string(line) + ": " : path + ": ";
}

BayDrives Failure(std::string error) {
    return BayDrives{std::nullopt, std::move(error)};
}

struct DriveSection {
    SimDriveConfig config;
    std::map<std::string, int> lines; // key -> line
};

} // namespace

BayDrives ParseBayDrives(const std::string& path, const IniParseResult& ini) {
    if (!ini.ok) {
        if (ini.errorLine > 0)
            return Failure(At(path, ini.errorLine) + "syntax error");
        return Failure(At(path, 0) + "cannot read the bay file");
    }
    std::vector<DriveSection> drives;
    std::map<std::string, std::size_t> byName; // bay name -> index in drives
    std::string previous;
    bool first = true;
    for (const IniEntry& entry : ini.document.entries) {
        const std::string where = At(path, entry.line);
        if (entry.section.empty())
            return Failure(where + "key '" + entry.key + "' is outside a drive section");
        const std::string name = BayDriveName(entry.section);
        const bool opensSection = first || entry.section != previous;
        first = false;
        previous = entry.section;
        if (opensSection) {
            if (!IsDriveName(entry.section))
                return Failure(where + "[" + entry.section +
                               "] is not a drive name (a letter and a colon such as E:, or a "
                               "device name such as sdb)");
            if (byName.count(name) != 0)
                return Failure(where + "drive [" + entry.section + "] is described twice");
            byName[name] = drives.size();
            drives.push_back(DriveSection{});
            drives.back().config.name = name;
        }
        DriveSection& drive = drives[byName[name]];
        const BayKey* key = FindBayKey(entry.key);
        if (key == nullptr)
            return Failure(where + "key '" + entry.key +
                           "' is not a bay key (keys: " + BayKeyNames() + ")");
        if (!drive.lines.emplace(key->name, entry.line).second)
            return Failure(where + "key '" + std::string(key->name) + "' is given twice for [" +
                           entry.section + "]");
        const std::string reason = key->read(entry.value, drive.config);
        if (!reason.empty())
            return Failure(where + "key '" + std::string(key->name) + "': " + reason);
    }
    std::vector<SimDriveConfig> configs;
    for (DriveSection& drive : drives) {
        if (const std::optional<BayKeyError> broken = CheckBayDrive(drive.config, drive.lines))
            return Failure(At(path, drive.lines[broken->key]) + "key '" + broken->key +
                           "': " + broken->reason);
        configs.push_back(std::move(drive.config));
    }
    return BayDrives{std::move(configs), {}};
}

BayLoad ParseBayDocument(const std::string& path, const IniParseResult& ini) {
    BayDrives read = ParseBayDrives(path, ini);
    if (!read.drives)
        return BayLoad{nullptr, std::move(read.error)};
    return BayLoad{std::make_unique<SimDriveBay>(std::move(*read.drives)), {}};
}

BayLoad LoadBayFile(const std::string& path) {
    BayLoad load = ParseBayDocument(path, ReadIniFile(path));
    if (load.bay)
        load.bay->SetSource([path]() { return ParseBayDrives(path, ReadIniFile(path)).drives; });
    return load;
}

} // namespace corvane::os::sim
