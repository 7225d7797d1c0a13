#include "drives/read_sectors_direct.h"

#include <cstring>

#include "drives/drive_texts.h"
#include "os/aligned_buffer.h"

namespace corvane {
namespace {

constexpr std::uint32_t kMiB = 1024 * 1024;
constexpr std::uint32_t kProbeLargest = 24 * kMiB;

} // namespace

std::int32_t ReadSectorsDirect(os::IDriveSystem& drives, const std::string& drive,
                               std::uint64_t firstSector, std::uint32_t sectorCount, void* buffer,
                               std::int32_t bufferLength, std::uint32_t sectorSize) {
    if (bufferLength > 0)
        std::memset(buffer, 0, static_cast<std::size_t>(bufferLength));
    const std::int64_t length = std::int64_t{sectorCount} * sectorSize;
    if (bufferLength < length || length > INT32_MAX)
        return -1;
    auto volume = drives.OpenVolume(drive, os::VolumeAccess::Read, os::VolumeShare::None);
    if (!volume)
        return -1;
    if (!volume->Seek(0))
        return -2;
    volume->Seek(firstSector * sectorSize);
    const os::IoResult read = volume->Read(buffer, static_cast<std::uint32_t>(length));
    return read.ok ? static_cast<std::int32_t>(read.bytes) : 0;
}

void ProbeDriveStart(os::IDriveSystem& drives, const std::string& drive, std::uint32_t sectorSize,
                     IMessageBoxHost& boxes) {
    if (sectorSize == 0)
        return;
    for (std::uint32_t size = kProbeLargest; size >= kMiB; size -= kMiB) {
        const std::uint32_t sectors = size / sectorSize;
        const std::size_t bytes = std::size_t{sectors} * sectorSize;
        os::AlignedBuffer buffer(bytes);
        if (!buffer && bytes != 0) {
            boxes.MessageBox(kProbeAllocFailedText, kProbeAllocFailedCaption, kMbOk);
            continue;
        }
        const std::int32_t read = ReadSectorsDirect(drives, drive, 0, sectors, buffer.data(),
                                                    static_cast<std::int32_t>(bytes), sectorSize);
        if (read > 0)
            return;
    }
}

} // namespace corvane
