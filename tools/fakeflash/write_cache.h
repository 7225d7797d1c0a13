#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <span>
#include <unordered_map>

namespace corvane::fakeflash {

// The small write cache of some fakes: it remembers the last sectors the host wrote and serves
// reads of them, so an immediate read-back passes even when the medium dropped the write.
// Sectors are 512-byte units of the drive's address space; only whole units are cached, and a
// write that covers part of a unit drops that unit. Holding no medium of its own, it loses
// nothing on eviction but the illusion.
class WriteCache {
public:
    static constexpr std::size_t kUnit = 512;
    enum class Policy { Fifo, Lru };

    WriteCache(std::size_t units, Policy policy) : capacity_(units), policy_(policy) {}

    // Records what the host wrote at `offset`.
    void Write(std::uint64_t offset, std::span<const std::uint8_t> data);
    // Replaces the bytes of `out` (read at `offset` from the medium) by those of cached units.
    void Overlay(std::uint64_t offset, std::span<std::uint8_t> out);

    std::size_t Size() const { return entries_.size(); }
    bool Holds(std::uint64_t unit) const { return index_.count(unit) != 0; }

private:
    struct Entry {
        std::uint64_t unit;
        std::array<std::uint8_t, kUnit> bytes;
    };
    using Entries = std::list<Entry>; // front: next to be evicted

    void Drop(std::uint64_t unit);

    std::size_t capacity_;
    Policy policy_;
    Entries entries_;
    std::unordered_map<std::uint64_t, Entries::iterator> index_;
};

} // namespace corvane::fakeflash
