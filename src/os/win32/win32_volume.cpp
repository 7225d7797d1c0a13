#include "os/win32/win32_volume.h"

#include <windows.h>

#include <winioctl.h>

#include "os/win32/win32_handle.h"

namespace corvane::os::win32_os {
namespace {

class Win32RawVolume : public IRawVolume {
public:
    explicit Win32RawVolume(UniqueHandle handle) : handle_(std::move(handle)) {}

    bool Seek(std::uint64_t offset) override {
        LONG high = static_cast<LONG>(offset >> 32);
        const LONG low = static_cast<LONG>(offset & 0xFFFFFFFFu);
        // A position whose low part is 0xFFFFFFFF comes back as INVALID_SET_FILE_POINTER too;
        // only the last error tells it from a failure, so it must not be left over from before.
        ::SetLastError(NO_ERROR);
        const DWORD result = ::SetFilePointer(handle_.Get(), low, &high, FILE_BEGIN);
        if (result == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) {
            RecordLastError();
            return false;
        }
        return true;
    }

    IoResult Read(void* buffer, std::uint32_t length) override {
        DWORD moved = 0;
        IoResult result;
        result.ok = ::ReadFile(handle_.Get(), buffer, length, &moved, nullptr) != FALSE;
        result.bytes = moved;
        if (!result.ok)
            result.error = RecordLastError();
        return result;
    }

    IoResult Write(const void* buffer, std::uint32_t length) override {
        DWORD moved = 0;
        IoResult result;
        result.ok = ::WriteFile(handle_.Get(), buffer, length, &moved, nullptr) != FALSE;
        result.bytes = moved;
        if (!result.ok) {
            result.error = RecordLastError();
            result.pending = result.error == ERROR_IO_PENDING;
        }
        return result;
    }

    bool Flush() override { return Check(::FlushFileBuffers(handle_.Get())); }
    bool Lock() override { return Control(FSCTL_LOCK_VOLUME); }
    bool Dismount() override { return Control(FSCTL_DISMOUNT_VOLUME); }
    bool Unlock() override { return Control(FSCTL_UNLOCK_VOLUME); }

private:
    static bool Check(BOOL ok) {
        if (!ok)
            RecordLastError();
        return ok != FALSE;
    }
    bool Control(DWORD code) {
        DWORD returned = 0;
        return Check(
            ::DeviceIoControl(handle_.Get(), code, nullptr, 0, nullptr, 0, &returned, nullptr));
    }
    UniqueHandle handle_;
};

} // namespace

std::unique_ptr<IRawVolume> OpenRawVolume(const std::string& path, VolumeAccess access,
                                          VolumeShare share) {
    const DWORD desired =
        access == VolumeAccess::ReadWrite ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
    const DWORD shareMode =
        share == VolumeShare::ReadWrite ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : 0;
    UniqueHandle handle(
        ::CreateFileA(path.c_str(), desired, shareMode, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle) {
        RecordLastError();
        return nullptr;
    }
    return std::make_unique<Win32RawVolume>(std::move(handle));
}

} // namespace corvane::os::win32_os
