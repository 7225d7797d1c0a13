#include "write_cache.h"

#include <algorithm>
#include <cstring>

namespace corvane::fakeflash {

void WriteCache::Drop(std::uint64_t unit) {
    auto found = index_.find(unit);
    if (found == index_.end())
        return;
    entries_.erase(found->second);
    index_.erase(found);
}

void WriteCache::Write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (capacity_ == 0 || data.empty())
        return;
    const std::uint64_t end = offset + data.size();
    for (std::uint64_t unit = offset / kUnit; unit * kUnit < end; ++unit) {
        const std::uint64_t start = unit * kUnit;
        if (start < offset || start + kUnit > end) {
            Drop(unit);
            continue;
        }
        const std::uint8_t* src = data.data() + (start - offset);
        auto found = index_.find(unit);
        if (found != index_.end()) {
            std::memcpy(found->second->bytes.data(), src, kUnit);
            // FIFO keeps the unit's place in line; LRU makes it the newest.
            if (policy_ == Policy::Lru)
                entries_.splice(entries_.end(), entries_, found->second);
            continue;
        }
        if (entries_.size() == capacity_) {
            index_.erase(entries_.front().unit);
            entries_.pop_front();
        }
        Entry& entry = entries_.emplace_back();
        entry.unit = unit;
        std::memcpy(entry.bytes.data(), src, kUnit);
        index_.emplace(unit, std::prev(entries_.end()));
    }
}

void WriteCache::Overlay(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (entries_.empty() || out.empty())
        return;
    const std::uint64_t end = offset + out.size();
    for (std::uint64_t unit = offset / kUnit; unit * kUnit < end; ++unit) {
        auto found = index_.find(unit);
        if (found == index_.end())
            continue;
        const std::uint64_t start = unit * kUnit;
        const std::uint64_t from = std::max(offset, start);
        const std::uint64_t to = std::min(end, start + kUnit);
        std::memcpy(out.data() + (from - offset), found->second->bytes.data() + (from - start),
                    to - from);
        if (policy_ == Policy::Lru)
            entries_.splice(entries_.end(), entries_, found->second);
    }
}

} // namespace corvane::fakeflash
