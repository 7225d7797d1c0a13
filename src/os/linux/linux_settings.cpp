#include <ini.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "os/last_error.h"
#include "os/linux/linux_system.h"

namespace corvane::os::linux_os {
namespace {

using Values = std::map<std::string, std::map<std::string, std::string>>;

int Collect(void* user, const char* section, const char* name, const char* value) {
    auto& values = *static_cast<Values*>(user);
    if (name != nullptr)
        values[section][name] = value != nullptr ? value : "";
    return 1;
}

// Settings kept in an INI file. The file is read on every access and rewritten on every write,
// so an edit made from outside while the program runs is seen.
class IniSettingsStore : public ISettingsStore {
public:
    explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}

    std::optional<std::uint32_t> GetInt(const std::string& section,
                                        const std::string& key) override {
        const Values values = Load();
        auto s = values.find(section);
        if (s == values.end())
            return std::nullopt;
        auto k = s->second.find(key);
        if (k == s->second.end())
            return std::nullopt;
        char* end = nullptr;
        errno = 0;
        const long long v = std::strtoll(k->second.c_str(), &end, 0);
        if (end == k->second.c_str() || *end != '\0' || errno != 0)
            return std::nullopt; // not a number: treated as absent, as the registry would
        return static_cast<std::uint32_t>(v);
    }

    bool WriteInt(const std::string& section, const std::string& key, std::int32_t value) override {
        Values values = Load();
        values[section][key] = std::to_string(value);
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
        const std::string temp = path_ + ".new";
        {
            std::ofstream out(temp, std::ios::trunc);
            for (const auto& [name, keys] : values) {
                out << '[' << name << "]\n";
                for (const auto& [k, v] : keys)
                    out << k << " = " << v << '\n';
            }
            if (!out.flush()) {
                SetLastOsError(static_cast<std::uint32_t>(errno));
                return false;
            }
        }
        std::filesystem::rename(temp, path_, ec);
        return !ec;
    }

private:
    Values Load() const {
        Values values;
        ini_parse(path_.c_str(), Collect, &values); // a missing file holds no values
        return values;
    }
    std::string path_;
};

class IniSettingsProvider : public ISettingsProvider {
public:
    std::unique_ptr<ISettingsStore> Open(const std::string& registryKey,
                                         const std::string& appName) override {
        return std::make_unique<IniSettingsStore>(SettingsFilePath(registryKey, appName));
    }
};

} // namespace

std::string SettingsFilePath(const std::string& registryKey, const std::string& appName) {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    return base + "/" + registryKey + "/" + appName + ".ini";
}

std::unique_ptr<ISettingsProvider> MakeLinuxSettings() {
    return std::make_unique<IniSettingsProvider>();
}

} // namespace corvane::os::linux_os
