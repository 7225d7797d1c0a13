#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "os/byte_order.h"

namespace corvane::os {

// Data directions of the pass-through request.
inline constexpr std::uint8_t kScsiDataOut = 0;
inline constexpr std::uint8_t kScsiDataIn = 1;
inline constexpr std::uint8_t kScsiDataUnspecified = 2;

// The 64-byte pass-through block kept in portable bytes: the 44-byte 32-bit layout of
// SCSI_PASS_THROUGH_DIRECT followed by a 20-byte area that receives the sense data.
// Offsets of its fields (little-endian):
struct PassThroughLayout {
    static constexpr int kLength = 0;              // u16
    static constexpr int kScsiStatus = 2;          // u8
    static constexpr int kPathId = 3;              // u8
    static constexpr int kTargetId = 4;            // u8
    static constexpr int kLun = 5;                 // u8
    static constexpr int kCdbLength = 6;           // u8
    static constexpr int kSenseInfoLength = 7;     // u8
    static constexpr int kDataIn = 8;              // u8
    static constexpr int kDataTransferLength = 12; // u32
    static constexpr int kTimeOutValue = 16;       // u32
    static constexpr int kDataBuffer = 20;         // u32 (the buffer travels beside the block)
    static constexpr int kSenseInfoOffset = 24;    // u32
    static constexpr int kCdb = 28;                // 16 bytes
    static constexpr int kStructSize = 44;
    static constexpr int kSense = 44; // 20 bytes, the first 18 used
    static constexpr int kBlockSize = 64;
};
using PassThroughBlock = std::array<std::uint8_t, PassThroughLayout::kBlockSize>;

// The codec of the block's multi-byte fields, which every side (the command channel and each
// backend) reads and writes through; at is a PassThroughLayout offset.
inline std::uint16_t GetPassThrough16(const PassThroughBlock& block, int at) {
    return LoadLe16(block.data() + at);
}
inline std::uint32_t GetPassThrough32(const PassThroughBlock& block, int at) {
    return LoadLe32(block.data() + at);
}
inline void SetPassThrough16(PassThroughBlock& block, int at, std::uint16_t value) {
    StoreLe16(block.data() + at, value);
}
inline void SetPassThrough32(PassThroughBlock& block, int at, std::uint32_t value) {
    StoreLe32(block.data() + at, value);
}
// The allocation length of the block's six-byte command (bytes 3 and 4, big-endian).
inline std::uint16_t CdbAllocationLength(const PassThroughBlock& block) {
    return LoadBe16(block.data() + PassThroughLayout::kCdb + 3);
}

// The fields of the standard INQUIRY data that the tool reads, and the command that asks for
// it. Drives that answer through a backend's own means (simulated drives, devices without
// SCSI) lay out their answer the same way.
struct InquiryLayout {
    static constexpr std::uint8_t kOpcode = 0x12;
    static constexpr std::size_t kPeripheral = 0;
    static constexpr std::size_t kRemovable = 1; // bit 7: removable medium
    static constexpr std::size_t kVendorAt = 8;
    static constexpr std::size_t kVendorWidth = 8;
    static constexpr std::size_t kProductAt = 16;
    static constexpr std::size_t kProductWidth = 16;
    static constexpr std::size_t kRevisionAt = 32;
    static constexpr std::size_t kRevisionWidth = 4;
    static constexpr std::size_t kStandardLength = 36;
};

// An open drive that takes SCSI commands. The backend only moves bytes: it sends the command
// of block with dataBuffer as its data, then writes the returned status and sense data back
// into block (ScsiStatus at kScsiStatus, sense bytes at kSense).
class IScsiDevice {
public:
    virtual ~IScsiDevice() = default;
    // False when the request itself failed (last error recorded); bytesReturned receives the
    // byte count the request returned.
    virtual bool PassThroughDirect(PassThroughBlock& block, void* dataBuffer,
                                   std::uint32_t& bytesReturned) = 0;
};

// The handle that switches a drive's media change notification.
class IMediaChangeSwitch {
public:
    virtual ~IMediaChangeSwitch() = default;
    // Sends the notification control with prevent as its 4-byte input; false on failure.
    virtual bool Control(bool prevent, std::uint32_t& bytesReturned) = 0;
    // Closes the handle; false when the close failed. Called at most once.
    virtual bool Close() = 0;
};

} // namespace corvane::os
