// winsock2.h before windows.h, which would otherwise bring the old winsock.h.
#include <winsock2.h>

#include <windows.h>

#include <vector>

#include "os/win32/win32_admin.h"
#include "os/win32/win32_handle.h"
#include "os/win32/win32_os.h"

namespace corvane::os::win32_os {
namespace {

constexpr DWORD kPathChars = 260;
constexpr DWORD kProductNameBytes = 260;
constexpr const char* kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";

static_assert(sizeof(OSVERSIONINFOA) == 148);
static_assert(sizeof(MEMORYSTATUSEX) == 64);

class Win32System : public ISystem {
public:
    ~Win32System() override {
        if (socketsStarted_)
            ::WSACleanup();
    }

    std::optional<VersionRecord> Version() override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        const BOOL ok = ::GetVersionExA(&info);
#pragma GCC diagnostic pop
        if (!ok) {
            RecordLastError();
            return std::nullopt;
        }
        return VersionRecord{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                             info.dwBuildNumber};
    }

    bool IsCurrentUserAdmin() override {
        return CheckCurrentUserAdmin();
    }

    bool StartSockets() override {
        WSADATA data{};
        const int rc = ::WSAStartup(MAKEWORD(1, 1), &data);
        if (rc != 0) {
            RecordError(static_cast<DWORD>(rc));
            return false;
        }
        if (LOBYTE(data.wVersion) != 1 || HIBYTE(data.wVersion) != 1) {
            ::WSACleanup();
            RecordError(WSAVERNOTSUPPORTED);
            return false;
        }
        socketsStarted_ = true;
        return true;
    }

    std::string TempFolder() override {
        char buffer[kPathChars] = {};
        const DWORD length = ::GetTempPathA(kPathChars, buffer);
        if (length == 0 || length >= kPathChars) {
            RecordLastError();
            return {}; // no folder, or one too long for the path buffers of the log
        }
        return std::string(buffer, length);
    }

    MemoryStatus Memory() override {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        if (!::GlobalMemoryStatusEx(&status))
            RecordLastError();
        return MemoryStatus{status.dwMemoryLoad,     status.ullTotalPhys,
                            status.ullAvailPhys,     status.ullTotalPageFile,
                            status.ullAvailPageFile, status.ullTotalVirtual,
                            status.ullAvailVirtual};
    }

    std::string ExecutablePath() override {
        std::vector<char> buffer(kPathChars);
        for (;;) {
            const DWORD size = static_cast<DWORD>(buffer.size());
            const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), size);
            if (length == 0) {
                RecordLastError();
                return {};
            }
            if (length < size)
                return std::string(buffer.data(), length);
            buffer.resize(buffer.size() * 2); // cut short: try again with more room
        }
    }

    std::optional<FileVersion> ExecutableFileVersion(const std::string& path) override {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) {
            RecordLastError();
            return std::nullopt;
        }
        std::vector<unsigned char> data(size);
        if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data())) {
            RecordLastError();
            return std::nullopt;
        }
        void* block = nullptr;
        UINT blockSize = 0;
        char root[] = "\\";
        if (!::VerQueryValueA(data.data(), root, &block, &blockSize) || block == nullptr ||
            blockSize < sizeof(VS_FIXEDFILEINFO))
            return std::nullopt;
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
        FileVersion version;
        version.part[0] = HIWORD(fixed->dwFileVersionMS);
        version.part[1] = LOWORD(fixed->dwFileVersionMS);
        version.part[2] = HIWORD(fixed->dwFileVersionLS);
        version.part[3] = LOWORD(fixed->dwFileVersionLS);
        return version;
    }

    std::string ProductName() override {
        HKEY key = nullptr;
        LONG rc = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE, &key);
        if (rc != ERROR_SUCCESS) {
            RecordError(static_cast<DWORD>(rc));
            return {};
        }
        char buffer[kProductNameBytes] = {};
        DWORD size = sizeof buffer;
        DWORD type = 0;
        rc = ::RegQueryValueExA(key, "ProductName", nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                &size);
        ::RegCloseKey(key);
        if (rc != ERROR_SUCCESS) {
            RecordError(static_cast<DWORD>(rc)); // a value longer than the buffer included
            return {};
        }
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return {};
        // The stored text need not end in a NUL; the size says where it ends.
        std::string name(buffer, size <= sizeof buffer ? size : sizeof buffer);
        while (!name.empty() && name.back() == '\0')
            name.pop_back();
        return name.substr(0, name.find('\0'));
    }

    LocalTime Now() override {
        SYSTEMTIME t{};
        ::GetLocalTime(&t);
        return LocalTime{t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond};
    }

    std::string ErrorText(std::uint32_t code) override {
        char* text = nullptr;
        const DWORD length =
            ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                 FORMAT_MESSAGE_ALLOCATE_BUFFER,
                             nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             reinterpret_cast<char*>(&text), 0, nullptr);
        std::string result;
        if (length != 0 && text != nullptr)
            result.assign(text, length);
        if (text != nullptr)
            ::LocalFree(text);
        return result;
    }

    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
        if (!::CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE)) {
            RecordLastError();
            return false;
        }
        return true;
    }

private:
    bool socketsStarted_ = false;
};

} // namespace

std::unique_ptr<ISystem> MakeWin32System() {
    return std::make_unique<Win32System>();
}

} // namespace corvane::os::win32_os
