#pragma once
// What the panel and the test ask of a drive through the system: its size, its free space, whether
// its start can be read.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "os/drives.h"
#include "os/vocabulary.h"

namespace corvane {

// The drive's size in bytes as the product of its disk geometry; 0 when the geometry cannot be
// read. On success stores the geometry's bytes per sector into sectorSize; on failure leaves
// it as it was.
std::uint64_t GetDriveSize(os::IDriveSystem& drives, const std::string& drive,
                           std::atomic<std::uint32_t>& sectorSize);

// The panel's free-space buffer, in characters with its terminator.
inline constexpr std::size_t kFreeSpaceBufferChars = 20;

// The free bytes of the file system on root (0 when the query fails), as a single-precision
// figure; text receives its free-space size text, cut to bufferChars - 1 characters.
float FormatFreeSpace(os::IDriveSystem& drives, const std::string& root, std::string& text,
                      std::size_t bufferChars);

// A free-space figure as whole bytes, the fraction dropped; figures beyond 64 bits saturate.
std::uint64_t WholeBytes(float bytes);

// Reads sectorCount sectors at firstSector of drive through a handle of its own: read-only and
// unshared, so it fails while anything else has the volume open, and closed again at once.
// The buffer is zeroed first. Returns the bytes read; 0 when the read failed; -1 when the
// buffer is shorter than the transfer or the volume cannot be opened; -2 when the seek to the
// start of the volume failed.
std::int32_t ReadSectorsDirect(os::IDriveSystem& drives, const std::string& drive,
                               std::uint64_t firstSector, std::uint32_t sectorCount, void* buffer,
                               std::int32_t bufferLength, std::uint32_t sectorSize);

// The selection's check that the start of a drive can be read: reads from sector 0, 24 MiB
// first and then 1 MiB less each time, until a read returns data (at most 24 attempts). A
// buffer that cannot be allocated is reported and the next size tried. The outcome is not kept.
void ProbeDriveStart(os::IDriveSystem& drives, const std::string& drive, std::uint32_t sectorSize,
                     IMessageBoxHost& boxes);

} // namespace corvane
