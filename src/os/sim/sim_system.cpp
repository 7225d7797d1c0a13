#include "os/sim/sim_system.h"

#include <filesystem>
#include <system_error>

namespace corvane::os::sim {

bool SimSystem::StartSockets() {
    ++socketStarts;
    return socketsWork;
}

LocalTime SimSystem::Now() {
    std::lock_guard lock(mutex_);
    if (clock.empty())
        return LocalTime{};
    const LocalTime t = clock[std::min(clockIndex_, clock.size() - 1)];
    ++clockIndex_;
    return t;
}

std::string SimSystem::ErrorText(std::uint32_t code) {
    auto it = errorTexts.find(code);
    return it == errorTexts.end() ? std::string() : it->second;
}

bool SimSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    {
        std::lock_guard lock(mutex_);
        copies.emplace_back(from, to);
    }
    std::error_code ec;
    const auto option = failIfExists ? std::filesystem::copy_options::none
                                     : std::filesystem::copy_options::overwrite_existing;
    return std::filesystem::copy_file(from, to, option, ec) && !ec;
}

namespace {

class SimSettingsStore : public ISettingsStore {
public:
    explicit SimSettingsStore(SimSettings& owner) : owner_(owner) {}
    std::optional<std::uint32_t> GetInt(const std::string& section,
                                        const std::string& key) override {
        auto it = owner_.values.find(section + "/" + key);
        if (it == owner_.values.end())
            return std::nullopt;
        return it->second;
    }
    bool WriteInt(const std::string& section, const std::string& key, std::int32_t value) override {
        ++owner_.writes;
        owner_.values[section + "/" + key] = static_cast<std::uint32_t>(value);
        return true;
    }

private:
    SimSettings& owner_;
};

} // namespace

std::unique_ptr<ISettingsStore> SimSettings::Open(const std::string& registryKey,
                                                  const std::string& appName) {
    ++opens;
    openedKey = registryKey;
    openedApp = appName;
    return std::make_unique<SimSettingsStore>(*this);
}

} // namespace corvane::os::sim
