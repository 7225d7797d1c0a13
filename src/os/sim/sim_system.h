#pragma once
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "os/settings.h"
#include "os/system.h"

namespace corvane::os::sim {

// A scriptable machine: every answer is a public field that a test sets before use.
class SimSystem : public ISystem {
public:
    std::optional<VersionRecord> version = VersionRecord{kPlatformWin32Nt, 6, 1, 7601};
    bool admin = true;
    bool socketsWork = true;
    std::string tempFolder = "C:\\Temp\\";
    MemoryStatus memory;
    std::string executablePath = "C:\\Program Files\\Corvane\\corvane.exe";
    std::optional<FileVersion> fileVersion = FileVersion{{1, 0, 0, 0}};
    std::string productName = "Windows 7 Professional";
    // The clock: each Now() returns the next entry, the last one repeating.
    std::vector<LocalTime> clock = {LocalTime{2026, 12, 8, 2, 4, 10, 5}};
    std::map<std::uint32_t, std::string> errorTexts;

    // What the machine was asked.
    int socketStarts = 0;
    std::vector<std::pair<std::string, std::string>> copies;

    std::optional<VersionRecord> Version() override { return version; }
    bool IsCurrentUserAdmin() override { return admin; }
    bool StartSockets() override;
    std::string TempFolder() override { return tempFolder; }
    MemoryStatus Memory() override { return memory; }
    std::string ExecutablePath() override { return executablePath; }
    std::optional<FileVersion> ExecutableFileVersion(const std::string&) override {
        return fileVersion;
    }
    std::string ProductName() override { return productName; }
    LocalTime Now() override;
    std::string ErrorText(std::uint32_t code) override;
    // Copies real files (tests point the temp folder at a real directory).
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;

private:
    std::mutex mutex_;
    std::size_t clockIndex_ = 0;
};

// In-memory settings that record every access.
class SimSettings : public ISettingsProvider {
public:
    std::map<std::string, std::uint32_t> values; // "section/key" -> value
    int opens = 0;
    int writes = 0;
    std::string openedKey;
    std::string openedApp;

    std::unique_ptr<ISettingsStore> Open(const std::string& registryKey,
                                         const std::string& appName) override;
};

} // namespace corvane::os::sim
