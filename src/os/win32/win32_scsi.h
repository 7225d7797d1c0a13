#pragma once
// windows.h first: the driver headers need its types.
#include <windows.h>

#include <ntddscsi.h>

#include <cstddef>
#include <memory>
#include <string>

#include "os/scsi.h"

namespace corvane::os::win32_os {

// The pass-through request as this build's driver interface takes it: the native
// SCSI_PASS_THROUGH_DIRECT (44 bytes on 32-bit, 56 on 64-bit, where DataBuffer is a 64-bit
// pointer) followed at once by the sense area.
struct NativePassThrough {
    SCSI_PASS_THROUGH_DIRECT sptd;
    UCHAR sense[PassThroughLayout::kBlockSize - PassThroughLayout::kSense];
};
#ifdef _WIN64
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == 56);
#else
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == 44);
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == PassThroughLayout::kStructSize);
#endif
static_assert(offsetof(NativePassThrough, sense) == sizeof(SCSI_PASS_THROUGH_DIRECT));

// What the request sends (the structure) and what it may fill (structure and sense area).
inline constexpr DWORD kPassThroughInSize = sizeof(SCSI_PASS_THROUGH_DIRECT);
inline constexpr DWORD kPassThroughOutSize =
    sizeof(SCSI_PASS_THROUGH_DIRECT) + sizeof(NativePassThrough::sense);

// The portable 64-byte block as the native request. Length and SenseInfoOffset are the native
// ones (the sense area follows the structure in both layouts); DataBuffer is dataBuffer.
NativePassThrough ToNativePassThrough(const PassThroughBlock& block, void* dataBuffer);
// Writes what the driver returned (ScsiStatus and the sense area) back into the portable block.
void FromNativePassThrough(const NativePassThrough& native, PassThroughBlock& block);

// "\\.\X:" opened for SCSI commands: read/write, shared, OPEN_EXISTING, no flags.
std::unique_ptr<IScsiDevice> OpenScsiDevice(const std::string& path);
// The handle that switches media change notification: FILE_READ_ATTRIBUTES, no sharing,
// FILE_ATTRIBUTE_NOT_CONTENT_INDEXED.
std::unique_ptr<IMediaChangeSwitch> OpenMediaChange(const std::string& path);

} // namespace corvane::os::win32_os
