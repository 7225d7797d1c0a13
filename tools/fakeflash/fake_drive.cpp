#include "fake_drive.h"

#include <algorithm>
#include <cerrno>

namespace corvane::fakeflash {

FakeDrive::FakeDrive(const DriveModel& model, std::unique_ptr<BlockStore> store)
    : model_(model), period_(model.wrap != 0 ? model.wrap : model.real), store_(std::move(store)) {
    if (model_.cacheUnits != 0)
        cache_.emplace(model_.cacheUnits, model_.cachePolicy);
}

FakeDrive::Landing FakeDrive::Alias(std::uint64_t offset, std::uint64_t want) const {
    if (model_.beyond == Beyond::Zeros || period_ == 0)
        return {std::nullopt, want};
    const std::uint64_t aliased = offset % period_;
    const std::uint64_t toNextPeriod = period_ - aliased;
    if (aliased >= model_.real)
        return {std::nullopt, std::min(want, toNextPeriod)};
    return {aliased, std::min({want, toNextPeriod, model_.real - aliased})};
}

long FakeDrive::Read(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::lock_guard lock(mutex_);
    if (offset >= model_.size)
        return 0;
    const std::uint64_t length = std::min<std::uint64_t>(out.size(), model_.size - offset);
    const std::uint64_t end = offset + length;
    if ((model_.beyond == Beyond::Error || model_.beyond == Beyond::ReadError) && end > model_.real)
        return -EIO;
    for (std::uint64_t pos = offset; pos < end;) {
        std::uint8_t* dst = out.data() + (pos - offset);
        std::uint64_t n = 0;
        std::optional<std::uint64_t> at;
        if (pos < model_.real) {
            n = std::min(end, model_.real) - pos;
            at = pos;
        } else {
            const Landing landing = Alias(pos, end - pos);
            n = landing.length;
            at = landing.position;
        }
        if (at) {
            if (const int err = store_->Read(*at, {dst, n}); err != 0)
                return -err;
        } else {
            std::fill(dst, dst + n, std::uint8_t{0});
        }
        pos += n;
    }
    if (cache_)
        cache_->Overlay(offset, out.first(length));
    return static_cast<long>(length);
}

long FakeDrive::Write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    std::lock_guard lock(mutex_);
    if (data.empty())
        return 0;
    if (offset >= model_.size)
        return -ENOSPC;
    const std::uint64_t length = std::min<std::uint64_t>(data.size(), model_.size - offset);
    const std::uint64_t end = offset + length;
    if (model_.beyond == Beyond::Error && end > model_.real)
        return -EIO;
    for (std::uint64_t pos = offset; pos < end;) {
        const std::uint8_t* src = data.data() + (pos - offset);
        std::uint64_t n = 0;
        std::optional<std::uint64_t> at;
        if (pos < model_.real) {
            n = std::min(end, model_.real) - pos;
            at = pos;
        } else if (model_.beyond == Beyond::Wrap) {
            const Landing landing = Alias(pos, end - pos);
            n = landing.length;
            at = landing.position;
        } else {
            n = end - pos; // dropped
        }
        if (at) {
            if (const int err = store_->Write(*at, {src, n}); err != 0)
                return -err;
        }
        pos += n;
    }
    if (cache_)
        cache_->Write(offset, data.first(length));
    return static_cast<long>(length);
}

int FakeDrive::Flush() {
    std::lock_guard lock(mutex_);
    return -store_->Flush();
}

std::uint64_t FakeDrive::StoredBytes() const {
    std::lock_guard lock(mutex_);
    return store_->StoredBytes();
}

} // namespace corvane::fakeflash
