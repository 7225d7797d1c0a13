#pragma once
#include <cstdint>
#include <string>

#include "app/message_box.h"
#include "os/drives.h"

namespace corvane {

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
