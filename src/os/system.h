#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace corvane::os {

// Platform ids as the version record reports them.
inline constexpr std::uint32_t kPlatformWin32Windows = 1;   // the 9x family
inline constexpr std::uint32_t kPlatformWin32Nt = 2;        // the NT family
inline constexpr std::uint32_t kPlatformOther = 0x4C4E5800; // neither family (Linux)

struct VersionRecord {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// Byte counts are whole 64-bit figures; load is a percentage.
struct MemoryStatus {
    std::uint32_t load = 0;
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availPageFile = 0;
    std::uint64_t totalVirtual = 0;
    std::uint64_t availVirtual = 0;
};

// Broken-down local time. weekday: 0 = Sunday; month: 1..12.
struct LocalTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int weekday = 4;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The four 16-bit parts of a file version, most significant first (1.2.3.4).
struct FileVersion {
    std::uint16_t part[4] = {0, 0, 0, 0};
};

// Services of the operating system that start-up and the log need.
class ISystem {
public:
    virtual ~ISystem() = default;

    // The OS version; nullopt when the query fails.
    virtual std::optional<VersionRecord> Version() = 0;
    // True when the caller's security context passes the Administrators-only access check.
    virtual bool IsCurrentUserAdmin() = 0;
    // Starts the socket layer asking for version 1.1; false when it refuses or offers another.
    virtual bool StartSockets() = 0;
    // The folder for temporary files, with its trailing separator, as the OS gives it.
    virtual std::string TempFolder() = 0;
    virtual MemoryStatus Memory() = 0;
    // Full path of the running executable.
    virtual std::string ExecutablePath() = 0;
    // The fixed file version of the executable at path; nullopt when it carries none.
    virtual std::optional<FileVersion> ExecutableFileVersion(const std::string& path) = 0;
    // The operating system's product name; empty when it cannot be read.
    virtual std::string ProductName() = 0;
    virtual LocalTime Now() = 0;
    // The system's text for an error code, ending with a line end as Windows' texts do;
    // empty when the system has no text for it.
    virtual std::string ErrorText(std::uint32_t code) = 0;
    // Copies a file; with failIfExists false an existing destination is replaced.
    virtual bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
};

} // namespace corvane::os
