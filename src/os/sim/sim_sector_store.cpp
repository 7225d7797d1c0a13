#include "os/sim/sim_sector_store.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace corvane::os::sim {
namespace {

std::uint32_t Group(const std::uint8_t* data) {
    std::uint32_t group = 0;
    std::memcpy(&group, data, sizeof group);
    return group;
}

// True when length bytes repeat their first 4-byte group.
bool Repeats(const std::uint8_t* data, std::size_t length) {
    for (std::size_t i = 4; i < length; i += 4) {
        if (std::memcmp(data, data + i, 4) != 0)
            return false;
    }
    return true;
}

} // namespace

std::uint64_t SectorStore::Footprint(const Extent& extent) const {
    return extent.bytes ? std::uint64_t{extent.count} * sectorSize_ : 4;
}

void SectorStore::Add(std::uint64_t first, Extent extent) {
    dataBytes_ += Footprint(extent);
    extents_.emplace(first, std::move(extent));
}

SectorStore::Extent SectorStore::Slice(const Extent& extent, std::uint32_t offset,
                                       std::uint32_t count) const {
    Extent part;
    part.count = count;
    part.pattern = extent.pattern;
    if (extent.bytes) {
        const std::size_t length = std::size_t{count} * sectorSize_;
        part.bytes = std::make_unique<std::uint8_t[]>(length);
        std::memcpy(part.bytes.get(), extent.bytes.get() + std::size_t{offset} * sectorSize_,
                    length);
    }
    return part;
}

// Removes [first, end) from the store, keeping the parts of extents outside it.
void SectorStore::Cut(std::uint64_t first, std::uint64_t end) {
    auto it = extents_.upper_bound(first);
    if (it != extents_.begin()) {
        auto before = std::prev(it);
        if (before->first + before->second.count > first)
            it = before;
    }
    while (it != extents_.end() && it->first < end) {
        const std::uint64_t start = it->first;
        const std::uint64_t stop = start + it->second.count;
        Extent old = std::move(it->second);
        dataBytes_ -= Footprint(old);
        it = extents_.erase(it);
        if (start < first)
            Add(start, Slice(old, 0, static_cast<std::uint32_t>(first - start)));
        if (stop > end)
            Add(end, Slice(old, static_cast<std::uint32_t>(end - start),
                           static_cast<std::uint32_t>(stop - end)));
    }
}

void SectorStore::Write(std::uint64_t first, const std::uint8_t* data, std::uint32_t count) {
    if (count == 0)
        return;
    Cut(first, first + count);
    const std::size_t length = std::size_t{count} * sectorSize_;
    Extent extent;
    extent.count = count;
    if (Repeats(data, length)) {
        extent.pattern = Group(data);
        // Zeros are what unwritten sectors read: nothing to keep.
        if (extent.pattern == 0)
            return;
    } else {
        extent.bytes = std::make_unique<std::uint8_t[]>(length);
        std::memcpy(extent.bytes.get(), data, length);
    }
    Add(first, std::move(extent));
}

void SectorStore::Read(std::uint64_t first, std::uint8_t* out, std::uint32_t count) const {
    const std::uint64_t end = first + count;
    std::memset(out, 0, std::size_t{count} * sectorSize_);
    auto it = extents_.upper_bound(first);
    if (it != extents_.begin()) {
        auto before = std::prev(it);
        if (before->first + before->second.count > first)
            it = before;
    }
    for (; it != extents_.end() && it->first < end; ++it) {
        const std::uint64_t from = std::max(first, it->first);
        const std::uint64_t to = std::min(end, it->first + it->second.count);
        std::uint8_t* target = out + (from - first) * sectorSize_;
        const auto length = static_cast<std::size_t>((to - from) * sectorSize_);
        if (it->second.bytes) {
            std::memcpy(target, it->second.bytes.get() + (from - it->first) * sectorSize_, length);
        } else {
            for (std::size_t i = 0; i < length; i += 4)
                std::memcpy(target + i, &it->second.pattern, 4);
        }
    }
}

} // namespace corvane::os::sim
