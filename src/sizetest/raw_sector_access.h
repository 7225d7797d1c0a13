#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "os/drives.h"
#include "os/vocabulary.h"

namespace corvane {

// Results of the sector routines besides a byte count above 0.
inline constexpr std::int32_t kTransferFailed = 0;
inline constexpr std::int32_t kBufferTooShort = -1;
inline constexpr std::int32_t kSeekFailed = -2;

inline constexpr const char* kBufferTooShortText =
    "Error, supplied buffer is smaller than write size request";

// Opens the drive's raw volume for a test run: a first open that only flushes what the system
// holds for it, then the run's own handle, locked and dismounted (refusals tolerated). Null
// when the volume cannot be opened.
std::unique_ptr<os::IRawVolume> OpenTestVolume(os::IDriveSystem& drives, const std::string& drive);

// Writes sectorCount sectors from buffer at firstSector, then unlocks and flushes. Returns the
// bytes written; 0 when the write failed; -1 (after telling the user) when the buffer is
// shorter than the transfer.
std::int32_t WriteSectors(os::IRawVolume& volume, std::uint64_t firstSector,
                          std::uint32_t sectorCount, const void* buffer, std::int32_t bufferLength,
                          std::uint32_t sectorSize, IMessageBoxHost& boxes);

// Reads sectorCount sectors at firstSector into buffer, which is zeroed first. Returns the
// bytes read; 0 when the read failed; -1 when the buffer is too short; -2 when the seek to the
// start of the volume failed.
std::int32_t ReadSectors(os::IRawVolume& volume, std::uint64_t firstSector,
                         std::uint32_t sectorCount, void* buffer, std::int32_t bufferLength,
                         std::uint32_t sectorSize);

} // namespace corvane
