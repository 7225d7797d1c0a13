#include "sizetest/block_stamp.h"

#include <cstring>

#include "os/byte_order.h"

namespace corvane {
namespace {

// The group as it lies in memory, so a whole block compares as native words.
std::uint32_t NativeGroup(std::uint32_t stamp) {
    std::uint8_t bytes[4];
    os::StoreBe32(bytes, stamp);
    std::uint32_t group;
    std::memcpy(&group, bytes, 4);
    return group;
}

// Index of the first group that is not `group`, or count.
std::size_t FirstDifferentGroup(const unsigned char* block, std::size_t count,
                                std::uint32_t group) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t g;
        std::memcpy(&g, block + i * 4, 4);
        if (g != group)
            return i;
    }
    return count;
}

} // namespace

void FillBlockStamp(unsigned char* block, std::size_t length, std::uint64_t p) {
    const std::uint32_t group = NativeGroup(static_cast<std::uint32_t>(p));
    for (std::size_t i = 0; i + 4 <= length; i += 4)
        std::memcpy(block + i, &group, 4);
}

std::optional<std::uint32_t> CheckBlockStamp(const unsigned char* block, std::size_t length,
                                             std::uint64_t p) {
    const std::size_t count = length / 4;
    const std::size_t at =
        FirstDifferentGroup(block, count, NativeGroup(static_cast<std::uint32_t>(p)));
    if (at == count)
        return std::nullopt;
    return os::LoadBe32(block + at * 4);
}

bool BlockHoldsStamp(const unsigned char* block, std::size_t length, std::uint32_t stamp) {
    const std::size_t count = length / 4;
    return count > 0 && FirstDifferentGroup(block, count, NativeGroup(stamp)) == count;
}

} // namespace corvane
