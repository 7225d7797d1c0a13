#include "drives/free_space.h"

#include <cmath>
#include <limits>

#include "drives/format_size.h"

namespace corvane {

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

} // namespace corvane
