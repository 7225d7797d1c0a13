#include "drives/drive_queries.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "drives/drive_texts.h"
#include "drives/panel_text.h"
#include "os/aligned_buffer.h"

namespace corvane {

std::uint64_t GetDriveSize(os::IDriveSystem& drives, const std::string& drive,
                           std::atomic<std::uint32_t>& sectorSize) {
    const std::optional<os::DiskGeometry> geometry = drives.Geometry(drive);
    // A geometry without a sector size would leave every caller dividing by zero; it counts
    // as unreadable.
    if (!geometry || geometry->bytesPerSector == 0)
        return 0;
    const std::uint64_t size = std::uint64_t{geometry->bytesPerSector} * geometry->sectorsPerTrack *
                               geometry->tracksPerCylinder * geometry->cylinders;
    sectorSize.store(geometry->bytesPerSector);
    return size;
}

float FormatFreeSpace(os::IDriveSystem& drives, const std::string& root, std::string& text,
                      std::size_t bufferChars) {
    const os::DiskFreeSpace counts = drives.FreeSpace(root).value_or(os::DiskFreeSpace{});
    // Worked out in double: the three 32-bit counts overflow any 32- or 64-bit product.
    const auto bytes = static_cast<float>(static_cast<double>(counts.freeClusters) *
                                          counts.sectorsPerCluster * counts.bytesPerSector);
    text = FormatSizeFree(bytes);
    if (bufferChars == 0)
        text.clear();
    else if (text.size() > bufferChars - 1)
        text.resize(bufferChars - 1);
    return bytes;
}

std::uint64_t WholeBytes(float bytes) {
    if (!(bytes > 0.0f))
        return 0;
    constexpr double kTop = 18446744073709551616.0; // 2^64
    const double value = std::floor(static_cast<double>(bytes));
    if (value >= kTop)
        return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(value);
}

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
