#include "os/sim/sim_drive.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "os/sim/sim_error_codes.h"

namespace corvane::os::sim {
namespace {

IoResult Failed(std::uint32_t error) {
    return IoResult{false, 0, error};
}

} // namespace

SimDrive::SimDrive(SimDriveConfig config)
    : config_(std::move(config)), totalSectors_(config_.VolumeBytes() / config_.sector),
      realSectors_(config_.RealBytes() / config_.sector), store_(config_.sector) {}

SimDrive::Opened SimDrive::Open(VolumeShare share) {
    std::lock_guard lock(mutex_);
    if (gone_)
        return {0, kSimErrorGone};
    if (lockHolder_)
        return {0, kSimErrorAccessDenied};
    if (unsharedHolder_ || (share == VolumeShare::None && openHandles_ > 0))
        return {0, kSimErrorSharing};
    const std::uint64_t id = nextId_++;
    ++openHandles_;
    if (share == VolumeShare::None)
        unsharedHolder_ = id;
    return {id, 0};
}

void SimDrive::Close(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    --openHandles_;
    if (unsharedHolder_ == id)
        unsharedHolder_.reset();
    if (lockHolder_ == id)
        lockHolder_.reset();
}

std::uint32_t SimDrive::Lock(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    if (gone_)
        return kSimErrorGone;
    if (config_.lockRefused)
        return kSimErrorAccessDenied;
    if (lockHolder_ == id)
        return 0;
    if (lockHolder_ || openHandles_ > 1)
        return kSimErrorAccessDenied;
    lockHolder_ = id;
    return 0;
}

std::uint32_t SimDrive::Unlock(std::uint64_t id) {
    std::lock_guard lock(mutex_);
    if (gone_)
        return kSimErrorGone;
    if (lockHolder_ != id)
        return kSimErrorNotLocked;
    lockHolder_.reset();
    return 0;
}

std::optional<SimDrive::Span> SimDrive::Check(std::uint64_t offset, std::uint32_t length,
                                              IoResult& failure) const {
    const std::uint32_t sector = config_.sector;
    if (offset % sector != 0 || length % sector != 0) {
        failure = Failed(kSimErrorBadParameter);
        return std::nullopt;
    }
    Span span{offset / sector, length / sector};
    if (span.count == 0)
        return span;
    if (span.first >= totalSectors_) {
        failure = Failed(kSimErrorBeyondEnd);
        return std::nullopt;
    }
    if (span.count > totalSectors_ - span.first)
        span.count = static_cast<std::uint32_t>(totalSectors_ - span.first);
    if (config_.beyond == Beyond::Error && span.first + span.count > realSectors_) {
        failure = Failed(kSimErrorIo);
        return std::nullopt;
    }
    return span;
}

template <typename Fn> void SimDrive::Map(const Span& span, Fn&& fn) const {
    std::uint64_t done = 0;
    while (done < span.count) {
        const std::uint64_t logical = span.first + done;
        const std::uint64_t left = span.count - done;
        std::uint64_t run = left;
        if (logical < realSectors_) {
            run = std::min(left, realSectors_ - logical);
            fn(done, std::optional<std::uint64_t>(logical), run);
        } else if (config_.beyond == Beyond::Wrap && realSectors_ != 0) {
            const std::uint64_t physical = logical % realSectors_;
            run = std::min(left, realSectors_ - physical);
            fn(done, std::optional<std::uint64_t>(physical), run);
        } else {
            fn(done, std::optional<std::uint64_t>(), run);
        }
        done += run;
    }
}

void SimDrive::Delay() const {
    if (config_.delayMicroseconds != 0)
        std::this_thread::sleep_for(std::chrono::microseconds(config_.delayMicroseconds));
}

bool SimDrive::CountTransfer() {
    if (gone_)
        return false;
    if (config_.vanishAfter && transfers_ >= *config_.vanishAfter) {
        gone_ = true;
        return false;
    }
    ++transfers_;
    return true;
}

void SimDrive::Cache(std::uint64_t sector, const std::uint8_t* data) {
    auto [it, added] = cache_.try_emplace(sector);
    it->second.assign(data, data + config_.sector);
    if (!added)
        cacheOrder_.erase(std::find(cacheOrder_.begin(), cacheOrder_.end(), sector));
    cacheOrder_.push_back(sector);
    if (cacheOrder_.size() > config_.cacheSectors) {
        cache_.erase(cacheOrder_.front());
        cacheOrder_.pop_front();
    }
}

IoResult SimDrive::Read(std::uint64_t offset, void* buffer, std::uint32_t length) {
    Delay();
    std::lock_guard lock(mutex_);
    if (!CountTransfer())
        return Failed(kSimErrorGone);
    IoResult failure;
    const std::optional<Span> span = Check(offset, length, failure);
    if (!span)
        return failure;
    if (Touches(config_.readErrors, span->first, span->count))
        return Failed(kSimErrorIo);
    auto* out = static_cast<std::uint8_t*>(buffer);
    const std::uint32_t sector = config_.sector;
    Map(*span, [&](std::uint64_t at, std::optional<std::uint64_t> physical, std::uint64_t count) {
        std::uint8_t* target = out + at * sector;
        if (physical)
            store_.Read(*physical, target, static_cast<std::uint32_t>(count));
        else
            std::memset(target, 0, static_cast<std::size_t>(count * sector));
    });
    // Recent writes come back from the cache, whatever the flash kept of them.
    for (auto it = cache_.lower_bound(span->first);
         it != cache_.end() && it->first < span->first + span->count; ++it)
        std::memcpy(out + (it->first - span->first) * sector, it->second.data(), sector);
    return IoResult{true, span->count * sector, 0};
}

IoResult SimDrive::Write(std::uint64_t offset, const void* buffer, std::uint32_t length) {
    Delay();
    std::lock_guard lock(mutex_);
    if (!CountTransfer())
        return Failed(kSimErrorGone);
    IoResult failure;
    const std::optional<Span> span = Check(offset, length, failure);
    if (!span)
        return failure;
    if (Touches(config_.writeErrors, span->first, span->count))
        return Failed(kSimErrorIo);
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    const std::uint32_t sector = config_.sector;
    Map(*span, [&](std::uint64_t at, std::optional<std::uint64_t> physical, std::uint64_t count) {
        if (physical)
            store_.Write(*physical, in + at * sector, static_cast<std::uint32_t>(count));
    });
    if (config_.cacheSectors != 0) {
        for (std::uint32_t i = 0; i < span->count; ++i)
            Cache(span->first + i, in + std::size_t{i} * sector);
    }
    return IoResult{true, span->count * sector, 0};
}

int SimDrive::OpenHandles() const {
    std::lock_guard lock(mutex_);
    return openHandles_;
}

std::uint64_t SimDrive::Transfers() const {
    std::lock_guard lock(mutex_);
    return transfers_;
}

std::size_t SimDrive::StoredExtents() const {
    std::lock_guard lock(mutex_);
    return store_.Extents();
}

std::uint64_t SimDrive::StoredBytes() const {
    std::lock_guard lock(mutex_);
    return store_.DataBytes();
}

} // namespace corvane::os::sim
