#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace corvane::os {

// Per-user integer settings of one application, in one section.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // The value of key in section; nullopt when absent or unreadable.
    virtual std::optional<std::uint32_t> GetInt(const std::string& section,
                                                const std::string& key) = 0;
    // Stores value; false when the store refused it.
    virtual bool WriteInt(const std::string& section, const std::string& key,
                          std::int32_t value) = 0;
};

// Places the settings store. Nothing is read or written before Open is called, so a start-up
// that refuses early leaves the store untouched.
class ISettingsProvider {
public:
    virtual ~ISettingsProvider() = default;
    // registryKey is the company-level key ("CVN"), appName the executable's base name.
    virtual std::unique_ptr<ISettingsStore> Open(const std::string& registryKey,
                                                 const std::string& appName) = 0;
};

} // namespace corvane::os
