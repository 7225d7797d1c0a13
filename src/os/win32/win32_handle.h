#pragma once
#include <windows.h>

namespace corvane::os::win32_os {

// One kernel handle, closed when the holder goes. INVALID_HANDLE_VALUE and null both mean
// "no handle", since CreateFileA and the token calls disagree on which one they return.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    HANDLE Get() const { return handle_; }
    HANDLE* Out() { return &handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }

    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    // Closes the handle held; false when CloseHandle refused it.
    bool Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
        bool ok = true;
        if (Valid())
            ok = ::CloseHandle(handle_) != FALSE;
        handle_ = handle;
        return ok;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Records the calling thread's Win32 error for portable code (os::LastOsError) and returns it.
DWORD RecordLastError();
// Records a code that a call returned instead of setting the thread's error (the registry).
void RecordError(DWORD code);

} // namespace corvane::os::win32_os
