#include "memory_store.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace corvane::fakeflash {
namespace {

bool RepeatsOneGroup(const std::uint8_t* unit) {
    // Equal to itself shifted by one group means every group equals the first.
    return std::memcmp(unit, unit + 4, MemoryStore::kUnit - 4) == 0;
}

} // namespace

MemoryStore::Runs::iterator MemoryStore::FirstOverlapping(std::uint64_t unit) {
    auto it = runs_.upper_bound(unit);
    if (it != runs_.begin()) {
        auto prev = std::prev(it);
        if (prev->first + prev->second.count > unit)
            return prev;
    }
    return it;
}

int MemoryStore::Read(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    const std::uint64_t end = offset + out.size();
    for (auto it = FirstOverlapping(offset / kUnit); it != runs_.end() && it->first * kUnit < end;
         ++it) {
        const Run& run = it->second;
        const std::uint64_t runStart = it->first * kUnit;
        const std::uint64_t from = std::max(offset, runStart);
        const std::uint64_t to = std::min(end, runStart + run.count * kUnit);
        if (from >= to)
            continue;
        std::uint8_t* dst = out.data() + (from - offset);
        if (run.IsPattern()) {
            // Units start on multiples of 512, so a byte's place in its group is its offset mod 4.
            for (std::uint64_t b = from; b < to; ++b)
                *dst++ = run.group[b % 4];
        } else {
            std::memcpy(dst, run.data.data() + (from - runStart), to - from);
        }
    }
    return 0;
}

void MemoryStore::AppendUnit(std::vector<std::pair<std::uint64_t, Run>>& runs, std::uint64_t unit,
                             const std::uint8_t* bytes) {
    const bool pattern = RepeatsOneGroup(bytes);
    Group group{};
    std::memcpy(group.data(), bytes, group.size());
    if (!runs.empty()) {
        auto& [start, last] = runs.back();
        const bool adjacent = start + last.count == unit;
        if (adjacent && pattern && last.IsPattern() && last.group == group) {
            ++last.count;
            return;
        }
        if (adjacent && !pattern && !last.IsPattern() && last.count < kMaxDataRunUnits) {
            last.data.insert(last.data.end(), bytes, bytes + kUnit);
            ++last.count;
            return;
        }
    }
    Run run;
    run.count = 1;
    run.group = group;
    if (!pattern)
        run.data.assign(bytes, bytes + kUnit);
    runs.emplace_back(unit, std::move(run));
}

int MemoryStore::Write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (data.empty())
        return 0;
    const std::uint64_t firstUnit = offset / kUnit;
    const std::uint64_t endUnit = (offset + data.size() + kUnit - 1) / kUnit;
    const std::uint64_t base = firstUnit * kUnit;
    std::vector<std::uint8_t> units((endUnit - firstUnit) * kUnit);
    // Partial units at either end keep the bytes the write does not cover.
    if (offset != base)
        Read(base, std::span(units).first(kUnit));
    if ((offset + data.size()) % kUnit != 0)
        Read((endUnit - 1) * kUnit, std::span(units).last(kUnit));
    std::memcpy(units.data() + (offset - base), data.data(), data.size());

    std::vector<std::pair<std::uint64_t, Run>> fresh;
    for (std::uint64_t u = firstUnit; u < endUnit; ++u)
        AppendUnit(fresh, u, units.data() + (u - firstUnit) * kUnit);

    EraseUnits(firstUnit, endUnit);
    for (auto& [start, run] : fresh)
        if (!(run.IsPattern() && run.group == Group{}))
            runs_.emplace(start, std::move(run));
    MergeAt(firstUnit);
    MergeAt(endUnit);
    return 0;
}

void MemoryStore::EraseUnits(std::uint64_t first, std::uint64_t end) {
    auto it = FirstOverlapping(first);
    while (it != runs_.end() && it->first < end) {
        const std::uint64_t start = it->first;
        Run& run = it->second;
        const std::uint64_t runEnd = start + run.count;
        if (runEnd > end) {
            Run tail;
            tail.count = runEnd - end;
            tail.group = run.group;
            if (!run.IsPattern())
                tail.data.assign(run.data.begin() +
                                     static_cast<std::ptrdiff_t>((end - start) * kUnit),
                                 run.data.end());
            runs_.emplace(end, std::move(tail));
        }
        if (start < first) {
            run.count = first - start;
            if (!run.IsPattern())
                run.data.resize(run.count * kUnit);
            ++it;
        } else {
            it = runs_.erase(it);
        }
    }
}

void MemoryStore::MergeAt(std::uint64_t boundary) {
    auto right = runs_.find(boundary);
    if (right == runs_.end() || right == runs_.begin())
        return;
    auto left = std::prev(right);
    Run& l = left->second;
    Run& r = right->second;
    if (left->first + l.count != boundary)
        return;
    if (l.IsPattern() && r.IsPattern() && l.group == r.group) {
        l.count += r.count;
    } else if (!l.IsPattern() && !r.IsPattern() && l.count + r.count <= kMaxDataRunUnits) {
        l.data.insert(l.data.end(), r.data.begin(), r.data.end());
        l.count += r.count;
    } else {
        return;
    }
    runs_.erase(right);
}

std::uint64_t MemoryStore::DataBytes() const {
    std::uint64_t bytes = 0;
    for (const auto& [start, run] : runs_)
        bytes += run.data.size();
    return bytes;
}

std::uint64_t MemoryStore::StoredBytes() const {
    // A map node with its run is about 80 bytes on a 64-bit build.
    return DataBytes() + runs_.size() * 80;
}

} // namespace corvane::fakeflash
