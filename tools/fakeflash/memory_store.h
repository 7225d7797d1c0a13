#pragma once
#include <array>
#include <cstddef>
#include <map>
#include <vector>

#include "block_store.h"

namespace corvane::fakeflash {

// A sparse medium in memory, kept as runs of 512-byte units. A unit that repeats one 4-byte
// group (what a size test stamps) joins a pattern run that costs a few bytes however long it
// is; units of zeros are not stored at all; any other unit lives in a data run. Data runs stay
// short so that a write into the middle of one copies little.
class MemoryStore : public BlockStore {
public:
    static constexpr std::size_t kUnit = 512;
    static constexpr std::uint64_t kMaxDataRunUnits = 256;

    int Read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    int Write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    int Flush() override { return 0; }
    std::uint64_t StoredBytes() const override;

    std::size_t RunCount() const { return runs_.size(); }
    // Bytes held in data runs (pattern runs hold none).
    std::uint64_t DataBytes() const;

private:
    using Group = std::array<std::uint8_t, 4>;
    struct Run {
        std::uint64_t count = 0;        // units
        Group group{};                  // the repeated group of a pattern run
        std::vector<std::uint8_t> data; // count * kUnit bytes of a data run; empty for a pattern
        bool IsPattern() const { return data.empty(); }
    };
    using Runs = std::map<std::uint64_t, Run>; // keyed by first unit

    Runs::iterator FirstOverlapping(std::uint64_t unit);
    void EraseUnits(std::uint64_t first, std::uint64_t end);
    void MergeAt(std::uint64_t boundary);
    static void AppendUnit(std::vector<std::pair<std::uint64_t, Run>>& runs, std::uint64_t unit,
                           const std::uint8_t* bytes);

    Runs runs_;
};

} // namespace corvane::fakeflash
