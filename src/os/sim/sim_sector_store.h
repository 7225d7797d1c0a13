#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

namespace corvane::os::sim {

// The sectors written to a simulated drive, kept sparse: extents keyed by their first sector.
// An extent whose bytes repeat one 4-byte group (a stamped test block, a zero fill) keeps only
// that group, so a drive tested end to end costs a few dozen bytes per block; any other data
// keeps its bytes. Sectors never written read as zeros. Not locked: the drive locks.
class SectorStore {
public:
    explicit SectorStore(std::uint32_t sectorSize) : sectorSize_(sectorSize) {}

    // count sectors from data at sector first; what was there before is replaced.
    void Write(std::uint64_t first, const std::uint8_t* data, std::uint32_t count);
    // count sectors at first into out.
    void Read(std::uint64_t first, std::uint8_t* out, std::uint32_t count) const;

    std::size_t Extents() const { return extents_.size(); }
    // The sector bytes the store keeps (repeating extents count 4 each), without the map.
    std::uint64_t DataBytes() const { return dataBytes_; }

private:
    // 16 bytes: millions of them stay within a few hundred megabytes with their map nodes.
    struct Extent {
        std::uint32_t count = 0;
        std::uint32_t pattern = 0;             // the repeated group when bytes is null
        std::unique_ptr<std::uint8_t[]> bytes; // count sectors of data otherwise
    };
    void Cut(std::uint64_t first, std::uint64_t end);
    void Add(std::uint64_t first, Extent extent);
    // count sectors of an extent from its sector offset on, as an extent of their own.
    Extent Slice(const Extent& extent, std::uint32_t offset, std::uint32_t count) const;
    std::uint64_t Footprint(const Extent& extent) const;

    std::uint32_t sectorSize_;
    std::map<std::uint64_t, Extent> extents_;
    std::uint64_t dataBytes_ = 0;
};

} // namespace corvane::os::sim
