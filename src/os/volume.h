#pragma once
#include <cstdint>

namespace corvane::os {

enum class VolumeAccess { Read, ReadWrite };
enum class VolumeShare { None, ReadWrite };

// Outcome of one transfer: ok is the call's own success; bytes is what really moved, which can
// be less than asked (a short transfer at the end of a device).
struct IoResult {
    bool ok = false;
    std::uint32_t bytes = 0;
    // OS error code when !ok (also recorded as the thread's last error).
    std::uint32_t error = 0;
    // The call failed only because the transfer is still under way (a system that can finish
    // a transfer after the call returns says so); never set when ok.
    bool pending = false;
};

// An open raw volume (a whole drive, bypassing any file system). One object is one handle;
// destroying it closes the handle. Every failing call records its code with SetLastOsError.
class IRawVolume {
public:
    virtual ~IRawVolume() = default;
    // Moves the position to an absolute byte offset; false when refused.
    virtual bool Seek(std::uint64_t offset) = 0;
    // Transfers at the current position and advances it by the bytes moved. Lengths are whole
    // sectors; buffers may need sector alignment on some backends (see AlignedBuffer).
    virtual IoResult Read(void* buffer, std::uint32_t length) = 0;
    virtual IoResult Write(const void* buffer, std::uint32_t length) = 0;
    // Pushes written data to the device.
    virtual bool Flush() = 0;
    // Volume lock, dismount and unlock; callers tolerate refusal.
    virtual bool Lock() = 0;
    virtual bool Dismount() = 0;
    virtual bool Unlock() = 0;
};

} // namespace corvane::os
