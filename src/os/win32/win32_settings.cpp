#include <windows.h>

#include "os/win32/win32_handle.h"
#include "os/win32/win32_os.h"

namespace corvane::os::win32_os {
namespace {

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_ != nullptr)
            ::RegCloseKey(key_);
    }
    HKEY Get() const { return key_; }
    HKEY* Out() { return &key_; }

private:
    HKEY key_ = nullptr;
};

// One application's settings: HKCU\Software\<registry key>\<app name>, a subkey per section.
class RegistrySettingsStore : public ISettingsStore {
public:
    explicit RegistrySettingsStore(std::string appKey) : appKey_(std::move(appKey)) {}

    // Opens the section read-only: asking for a setting never creates a key.
    std::optional<std::uint32_t> GetInt(const std::string& section,
                                        const std::string& key) override {
        RegistryKey sectionKey;
        LONG rc = ::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ,
                                  sectionKey.Out());
        if (rc != ERROR_SUCCESS) {
            RecordError(static_cast<DWORD>(rc));
            return std::nullopt;
        }
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof value;
        rc = ::RegQueryValueExA(sectionKey.Get(), key.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(&value), &size);
        if (rc != ERROR_SUCCESS) {
            RecordError(static_cast<DWORD>(rc));
            return std::nullopt;
        }
        if (type != REG_DWORD || size != sizeof value)
            return std::nullopt; // another kind of value is no integer setting
        return value;
    }

    // Creates the application and section keys as needed.
    bool WriteInt(const std::string& section, const std::string& key, std::int32_t value) override {
        RegistryKey sectionKey;
        LONG rc = ::RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, sectionKey.Out(),
                                    nullptr);
        if (rc != ERROR_SUCCESS) {
            RecordError(static_cast<DWORD>(rc));
            return false;
        }
        const DWORD data = static_cast<DWORD>(value);
        rc = ::RegSetValueExA(sectionKey.Get(), key.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&data), sizeof data);
        if (rc != ERROR_SUCCESS) {
            RecordError(static_cast<DWORD>(rc));
            return false;
        }
        return true;
    }

private:
    std::string SectionPath(const std::string& section) const { return appKey_ + "\\" + section; }
    std::string appKey_;
};

class RegistrySettingsProvider : public ISettingsProvider {
public:
    std::unique_ptr<ISettingsStore> Open(const std::string& registryKey,
                                         const std::string& appName) override {
        return std::make_unique<RegistrySettingsStore>("Software\\" + registryKey + "\\" + appName);
    }
};

} // namespace

std::unique_ptr<ISettingsProvider> MakeWin32Settings() {
    return std::make_unique<RegistrySettingsProvider>();
}

} // namespace corvane::os::win32_os
