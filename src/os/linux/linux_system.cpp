#include "os/linux/linux_system.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "os/last_error.h"

namespace corvane::os::linux_os {
namespace {

// Kernel release "6.18.44-fc-v1523" as major, minor and build numbers.
VersionRecord KernelVersion() {
    VersionRecord v;
    v.platformId = kPlatformOther;
    struct utsname u {};
    if (uname(&u) == 0)
        std::sscanf(u.release, "%u.%u.%u", &v.major, &v.minor, &v.build);
    return v;
}

// Value of "Key:  123 kB" from /proc/meminfo, in bytes; 0 when absent.
std::uint64_t MeminfoBytes(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\n" + key + ":");
    const std::size_t pos =
        at == std::string::npos ? (text.rfind(key + ":", 0) == 0 ? 0 : std::string::npos) : at + 1;
    if (pos == std::string::npos)
        return 0;
    return std::strtoull(text.c_str() + pos + key.size() + 1, nullptr, 10) * 1024ULL;
}

class LinuxSystem : public ISystem {
public:
    std::optional<VersionRecord> Version() override { return KernelVersion(); }
    // Linux has no rights test at start-up (it is a platform of neither Windows family).
    bool IsCurrentUserAdmin() override { return geteuid() == 0; }
    // There is no socket layer to start: the gate always opens.
    bool StartSockets() override { return true; }
    std::string TempFolder() override {
        const char* dir = std::getenv("TMPDIR");
        std::string folder = (dir != nullptr && *dir != '\0') ? dir : "/tmp/";
        if (folder.back() != '/')
            folder += '/';
        return folder;
    }
    MemoryStatus Memory() override {
        MemoryStatus m;
        std::ifstream in("/proc/meminfo");
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        m.totalPhys = MeminfoBytes(s, "MemTotal");
        m.availPhys = MeminfoBytes(s, "MemAvailable");
        m.totalPageFile = MeminfoBytes(s, "SwapTotal");
        m.availPageFile = MeminfoBytes(s, "SwapFree");
        struct sysinfo info {};
        if (m.totalPhys == 0 && sysinfo(&info) == 0) {
            m.totalPhys = std::uint64_t{info.totalram} * info.mem_unit;
            m.availPhys = std::uint64_t{info.freeram} * info.mem_unit;
            m.totalPageFile = std::uint64_t{info.totalswap} * info.mem_unit;
            m.availPageFile = std::uint64_t{info.freeswap} * info.mem_unit;
        }
        if (m.totalPhys != 0)
            m.load = static_cast<std::uint32_t>((m.totalPhys - m.availPhys) * 100 / m.totalPhys);
        // The user address space of this process (x86-64: 128 TiB) and what it has not mapped.
        const std::uint64_t vmTotal = sizeof(void*) == 8 ? (1ULL << 47) : (3ULL << 30);
        std::ifstream status("/proc/self/status");
        std::stringstream st;
        st << status.rdbuf();
        const std::uint64_t vmSize = MeminfoBytes(st.str(), "VmSize");
        m.totalVirtual = vmTotal;
        m.availVirtual = vmTotal > vmSize ? vmTotal - vmSize : 0;
        return m;
    }
    std::string ExecutablePath() override {
        std::error_code ec;
        const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
        return ec ? std::string() : path.string();
    }
    // The version this executable was built as (Linux executables carry no version resource).
    std::optional<FileVersion> ExecutableFileVersion(const std::string&) override {
        FileVersion v;
        unsigned p[4] = {0, 0, 0, 0};
        std::sscanf(CORVANE_VERSION_TEXT, "%u.%u.%u.%u", &p[0], &p[1], &p[2], &p[3]);
        for (int i = 0; i < 4; ++i)
            v.part[i] = static_cast<std::uint16_t>(p[i]);
        return v;
    }
    std::string ProductName() override {
        std::ifstream in("/etc/os-release");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("PRETTY_NAME=", 0) == 0) {
                std::string value = line.substr(12);
                if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
                    value = value.substr(1, value.size() - 2);
                return value;
            }
        }
        return {};
    }
    LocalTime Now() override {
        const std::time_t now = std::time(nullptr);
        struct tm t {};
        localtime_r(&now, &t);
        return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_wday,
                         t.tm_hour,        t.tm_min,     t.tm_sec};
    }
    std::string ErrorText(std::uint32_t code) override {
        if (code == 0)
            return {};
        char buffer[256];
        // The GNU strerror_r returns its text, which may not be the buffer.
        const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
        return std::string(text) + "\n";
    }
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
        std::error_code ec;
        const auto option = failIfExists ? std::filesystem::copy_options::none
                                         : std::filesystem::copy_options::overwrite_existing;
        const bool ok = std::filesystem::copy_file(from, to, option, ec);
        if (ec)
            SetLastOsError(static_cast<std::uint32_t>(ec.value()));
        return ok && !ec;
    }
};

} // namespace

std::unique_ptr<ISystem> MakeLinuxSystem() {
    return std::make_unique<LinuxSystem>();
}

} // namespace corvane::os::linux_os
