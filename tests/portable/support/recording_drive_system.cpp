#include "support/recording_drive_system.h"

#include <algorithm>

namespace corvane::os::sim {
namespace {

using Kind = VolumeOperation::Kind;

class RecordingVolume : public IRawVolume {
public:
    RecordingVolume(RecordingDriveSystem& owner, std::string drive,
                    std::unique_ptr<IRawVolume> inner)
        : owner_(owner), drive_(std::move(drive)), inner_(std::move(inner)) {}
    ~RecordingVolume() override { owner_.Record({Kind::Close, drive_, position_, 0, true}); }

    bool Seek(std::uint64_t offset) override {
        const bool ok = inner_->Seek(offset);
        if (ok)
            position_ = offset;
        owner_.Record({Kind::Seek, drive_, offset, 0, ok});
        return ok;
    }
    IoResult Read(void* buffer, std::uint32_t length) override {
        const IoResult r = inner_->Read(buffer, length);
        owner_.Record({Kind::Read, drive_, position_, length, r.ok});
        position_ += r.bytes;
        return r;
    }
    IoResult Write(const void* buffer, std::uint32_t length) override {
        const IoResult r = inner_->Write(buffer, length);
        owner_.Record({Kind::Write, drive_, position_, length, r.ok});
        position_ += r.bytes;
        return r;
    }
    bool Flush() override { return Note(Kind::Flush, inner_->Flush()); }
    bool Lock() override { return Note(Kind::Lock, inner_->Lock()); }
    bool Dismount() override { return Note(Kind::Dismount, inner_->Dismount()); }
    bool Unlock() override { return Note(Kind::Unlock, inner_->Unlock()); }

private:
    bool Note(Kind kind, bool ok) {
        owner_.Record({kind, drive_, position_, 0, ok});
        return ok;
    }
    RecordingDriveSystem& owner_;
    std::string drive_;
    std::unique_ptr<IRawVolume> inner_;
    std::uint64_t position_ = 0;
};

} // namespace

std::vector<VolumeOperation> RecordingDriveSystem::Operations() const {
    std::lock_guard lock(mutex_);
    return operations_;
}

std::vector<std::string> RecordingDriveSystem::TouchedDrives() const {
    std::lock_guard lock(mutex_);
    return touched_;
}

void RecordingDriveSystem::Record(VolumeOperation op) {
    std::lock_guard lock(mutex_);
    operations_.push_back(std::move(op));
}

void RecordingDriveSystem::Touch(const std::string& drive) {
    std::lock_guard lock(mutex_);
    if (std::find(touched_.begin(), touched_.end(), drive) == touched_.end())
        touched_.push_back(drive);
}

DriveType RecordingDriveSystem::GetDriveType(const std::string& drive) {
    Touch(drive);
    return inner_.GetDriveType(drive);
}
std::optional<std::int32_t> RecordingDriveSystem::BusType(const std::string& drive) {
    Touch(drive);
    return inner_.BusType(drive);
}
std::optional<DiskGeometry> RecordingDriveSystem::Geometry(const std::string& drive) {
    Touch(drive);
    return inner_.Geometry(drive);
}
std::optional<DiskFreeSpace> RecordingDriveSystem::FreeSpace(const std::string& drive) {
    Touch(drive);
    return inner_.FreeSpace(drive);
}
std::unique_ptr<IScsiDevice> RecordingDriveSystem::OpenScsi(const std::string& drive) {
    Touch(drive);
    return inner_.OpenScsi(drive);
}
std::unique_ptr<IMediaChangeSwitch>
RecordingDriveSystem::OpenMediaChangeSwitch(const std::string& drive) {
    Touch(drive);
    return inner_.OpenMediaChangeSwitch(drive);
}
std::unique_ptr<IRawVolume>
RecordingDriveSystem::OpenVolume(const std::string& drive, VolumeAccess access, VolumeShare share) {
    Touch(drive);
    auto inner = inner_.OpenVolume(drive, access, share);
    Record({Kind::Open, drive, 0, 0, inner != nullptr});
    if (!inner)
        return nullptr;
    return std::make_unique<RecordingVolume>(*this, drive, std::move(inner));
}

} // namespace corvane::os::sim
