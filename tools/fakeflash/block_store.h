#pragma once
#include <cstdint>
#include <span>

namespace corvane::fakeflash {

// The medium a fake drive really has: `capacity` bytes, addressed from 0. The drive model
// keeps every access inside the capacity, so stores need not check it.
class BlockStore {
public:
    virtual ~BlockStore() = default;
    // Fills `out` with the bytes at `offset`; bytes never written read as zeros.
    // Returns 0, or an errno value when the medium failed.
    virtual int Read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
    // Stores `data` at `offset`. Returns 0 or an errno value.
    virtual int Write(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
    // Makes every accepted write durable. Returns 0 or an errno value.
    virtual int Flush() = 0;
    // What the stored data costs in bytes (memory or disk), shown as the file's allocation.
    virtual std::uint64_t StoredBytes() const = 0;
};

} // namespace corvane::fakeflash
