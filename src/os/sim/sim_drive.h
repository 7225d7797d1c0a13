#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "os/sim/sim_drive_config.h"
#include "os/sim/sim_sector_store.h"
#include "os/volume.h"

namespace corvane::os::sim {

// The live state of one simulated drive: its stored sectors, which persist for the life of the
// bay, and its open handles. Every member locks, so a worker thread may read and write while
// another thread lists the drives.
class SimDrive {
public:
    explicit SimDrive(SimDriveConfig config);

    const SimDriveConfig& Config() const { return config_; }

    // Opens a handle with the sharing rules of Windows volumes: an unshared open fails while
    // any other handle is open, any open fails while an unshared handle or a lock is held.
    // Returns the handle's id, or the error code.
    struct Opened {
        std::uint64_t id = 0;
        std::uint32_t error = 0;
    };
    Opened Open(VolumeShare share);
    void Close(std::uint64_t id);
    // The volume lock of a handle: refused while another handle is open, or always when the
    // drive refuses locks.
    std::uint32_t Lock(std::uint64_t id);
    std::uint32_t Unlock(std::uint64_t id);
    // True once the drive has vanished: it is then no longer listed and every call fails.
    bool Gone() const { return gone_.load(); }
    // The drive is pulled out: it vanishes at once, open handles included.
    void Pull() { gone_.store(true); }

    // Whole sectors at a byte offset. A transfer that starts inside the volume and runs past
    // its end is cut short there; one that starts at or past the end fails. Each transfer
    // first waits the drive's delay (without holding the drive, so others are not held up).
    IoResult Read(std::uint64_t offset, void* buffer, std::uint32_t length);
    IoResult Write(std::uint64_t offset, const void* buffer, std::uint32_t length);

    int OpenHandles() const;
    std::uint64_t Transfers() const;
    std::size_t StoredExtents() const;
    std::uint64_t StoredBytes() const;

private:
    // A transfer checked and cut to the volume: its first sector and sector count.
    struct Span {
        std::uint64_t first = 0;
        std::uint32_t count = 0;
    };
    std::optional<Span> Check(std::uint64_t offset, std::uint32_t length, IoResult& failure) const;
    // Calls fn(logical offset in sectors, physical sector, count) for each run of the span
    // that the real capacity stores, or fn with no physical sector for a dropped run.
    template <typename Fn> void Map(const Span& span, Fn&& fn) const;
    // Counts a transfer; false (and the drive gone) once it has done its last one.
    bool CountTransfer();
    void Cache(std::uint64_t sector, const std::uint8_t* data);
    void Delay() const;

    const SimDriveConfig config_;
    const std::uint64_t totalSectors_;
    const std::uint64_t realSectors_;
    mutable std::mutex mutex_;
    SectorStore store_;
    std::uint64_t nextId_ = 1;
    int openHandles_ = 0;
    std::optional<std::uint64_t> unsharedHolder_;
    std::optional<std::uint64_t> lockHolder_;
    std::atomic<bool> gone_{false};
    std::uint64_t transfers_ = 0;
    // The write cache: sector bytes by logical sector, and the sectors in the order written.
    std::map<std::uint64_t, std::vector<std::uint8_t>> cache_;
    std::deque<std::uint64_t> cacheOrder_;
};

} // namespace corvane::os::sim
