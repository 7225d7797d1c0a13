#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

#include "block_store.h"
#include "write_cache.h"

namespace corvane::fakeflash {

// What a fake does with addresses at or past its real capacity.
enum class Beyond {
    Wrap,      // writes and reads land on the aliased position (offset modulo the wrap size)
    Zeros,     // writes are dropped, reads return zeros
    Stale,     // writes are dropped, reads return what the aliased position holds
    Error,     // reads and writes fail with EIO
    ReadError, // writes are taken and dropped, reads fail with EIO
};

struct DriveModel {
    std::uint64_t size = 0; // the capacity the drive reports
    std::uint64_t real = 0; // the capacity it really has, real <= size
    Beyond beyond = Beyond::Wrap;
    // The alias period of Wrap and Stale; 0 means the real capacity. An aliased position at or
    // past the real capacity (a period larger than it) holds nothing: writes there are dropped
    // and reads return zeros.
    std::uint64_t wrap = 0;
    std::size_t cacheUnits = 0; // 512-byte sectors of write cache, 0 for none
    WriteCache::Policy cachePolicy = WriteCache::Policy::Fifo;
};

// A drive that reports `size` bytes and behaves past `real` as its model says. Safe to call
// from several threads: one request at a time is served.
class FakeDrive {
public:
    FakeDrive(const DriveModel& model, std::unique_ptr<BlockStore> store);

    // Reads at `offset`; short only at the end of the reported size. Returns the byte count
    // or a negative errno value.
    long Read(std::uint64_t offset, std::span<std::uint8_t> out);
    // Writes at `offset`; short only at the end of the reported size, -ENOSPC past it.
    // Returns the byte count or a negative errno value.
    long Write(std::uint64_t offset, std::span<const std::uint8_t> data);
    // Flushes the medium. Returns 0 or a negative errno value.
    int Flush();

    std::uint64_t Size() const { return model_.size; }
    std::uint64_t StoredBytes() const;

private:
    // Where `offset` past the real capacity lands on the medium, if anywhere, and how many
    // bytes from it keep landing contiguously.
    struct Landing {
        std::optional<std::uint64_t> position;
        std::uint64_t length;
    };
    Landing Alias(std::uint64_t offset, std::uint64_t want) const;

    DriveModel model_;
    std::uint64_t period_;
    std::unique_ptr<BlockStore> store_;
    std::optional<WriteCache> cache_;
    mutable std::mutex mutex_;
};

} // namespace corvane::fakeflash
