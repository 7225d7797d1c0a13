#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "os/drives.h"

namespace corvane::os::sim {

// One raw volume operation as it reached the drive.
struct VolumeOperation {
    enum class Kind { Open, Seek, Read, Write, Flush, Lock, Dismount, Unlock, Close };
    Kind kind;
    std::string drive;
    std::uint64_t offset = 0; // position of a read or write (bytes)
    std::uint32_t length = 0; // bytes asked for
    bool ok = true;
    // The thread that made the call.
    std::thread::id thread = std::this_thread::get_id();
};

// A drive system that passes everything to another one and records every raw volume
// operation, so tests can check where a run wrote and which drives it touched at all.
class RecordingDriveSystem : public IDriveSystem {
public:
    explicit RecordingDriveSystem(IDriveSystem& inner) : inner_(inner) {}

    std::vector<VolumeOperation> Operations() const;
    // Every drive that saw any call (listing aside), in first-touch order.
    std::vector<std::string> TouchedDrives() const;

    std::optional<std::vector<std::string>> LogicalDriveStrings() override {
        return inner_.LogicalDriveStrings();
    }
    DriveType GetDriveType(const std::string& drive) override;
    std::optional<std::int32_t> BusType(const std::string& drive) override;
    std::optional<DiskGeometry> Geometry(const std::string& drive) override;
    std::optional<DiskFreeSpace> FreeSpace(const std::string& drive) override;
    std::unique_ptr<IScsiDevice> OpenScsi(const std::string& drive) override;
    std::unique_ptr<IMediaChangeSwitch> OpenMediaChangeSwitch(const std::string& drive) override;
    std::unique_ptr<IRawVolume> OpenVolume(const std::string& drive, VolumeAccess access,
                                           VolumeShare share) override;

    // Used by the recorded volumes.
    void Record(VolumeOperation op);

private:
    void Touch(const std::string& drive);
    IDriveSystem& inner_;
    mutable std::mutex mutex_;
    std::vector<VolumeOperation> operations_;
    std::vector<std::string> touched_;
};

} // namespace corvane::os::sim
