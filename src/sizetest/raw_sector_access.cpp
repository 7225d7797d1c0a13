#include "sizetest/raw_sector_access.h"

#include <cstring>

#include "os/last_error.h"

namespace corvane {
namespace {

// The transfer length is a 32-bit signed product, as the buffer lengths are; a product that
// does not fit counts as longer than any buffer.
std::int64_t TransferLength(std::uint32_t sectorCount, std::uint32_t sectorSize) {
    return static_cast<std::int64_t>(sectorCount) * sectorSize;
}

} // namespace

std::unique_ptr<os::IRawVolume> OpenTestVolume(os::IDriveSystem& drives, const std::string& drive) {
    if (auto first =
            drives.OpenVolume(drive, os::VolumeAccess::ReadWrite, os::VolumeShare::ReadWrite)) {
        first->Flush();
    }
    auto volume = drives.OpenVolume(drive, os::VolumeAccess::ReadWrite, os::VolumeShare::ReadWrite);
    if (!volume)
        return nullptr;
    volume->Lock();
    volume->Dismount(); // sent even when the lock was refused
    return volume;
}

std::int32_t WriteSectors(os::IRawVolume& volume, std::uint64_t firstSector,
                          std::uint32_t sectorCount, const void* buffer, std::int32_t bufferLength,
                          std::uint32_t sectorSize, IMessageBoxHost& boxes) {
    const std::int64_t length = TransferLength(sectorCount, sectorSize);
    if (bufferLength < length) {
        boxes.MessageBox(kBufferTooShortText, "", kMbOk);
        return kBufferTooShort;
    }
    volume.Seek(firstSector * sectorSize);
    const os::IoResult written = volume.Write(buffer, static_cast<std::uint32_t>(length));
    if (!written.ok && !written.pending)
        return kTransferFailed;
    // Unlocked after every write: only the first block of a run finds the volume locked.
    volume.Unlock();
    volume.Flush();
    return static_cast<std::int32_t>(written.bytes);
}

std::int32_t ReadSectors(os::IRawVolume& volume, std::uint64_t firstSector,
                         std::uint32_t sectorCount, void* buffer, std::int32_t bufferLength,
                         std::uint32_t sectorSize) {
    if (bufferLength > 0)
        std::memset(buffer, 0, static_cast<std::size_t>(bufferLength));
    const std::int64_t length = TransferLength(sectorCount, sectorSize);
    if (bufferLength < length)
        return kBufferTooShort;
    if (!volume.Seek(0))
        return kSeekFailed;
    volume.Seek(firstSector * sectorSize);
    const os::IoResult read = volume.Read(buffer, static_cast<std::uint32_t>(length));
    return read.ok ? static_cast<std::int32_t>(read.bytes) : kTransferFailed;
}

} // namespace corvane
