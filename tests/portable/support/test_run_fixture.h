#pragma once
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "drives/device.h"
#include "os/sim/sim_bay.h"
#include "os/sim/sim_system.h"
#include "os/vocabulary.h"
#include "sizetest/run_control.h"
#include "support/headless_test_host.h"
#include "support/recording_drive_system.h"

namespace corvane::testing {

inline constexpr std::uint64_t kKiB = 1024;
inline constexpr std::uint64_t kMiB = 1024 * kKiB;
inline constexpr std::uint64_t kGiB = 1024 * kMiB;

// A removable USB drive of the bay reporting size bytes.
inline os::sim::SimDriveConfig BayDrive(const std::string& name, std::uint64_t size,
                                        std::uint32_t sector = 512) {
    os::sim::SimDriveConfig c;
    c.name = name;
    c.size = size;
    c.sector = sector;
    return c;
}

// One size test run, from Start Test to the end of its worker, on a simulated bay whose
// volume operations are all recorded.
class TestRunFixture {
public:
    explicit TestRunFixture(std::vector<os::sim::SimDriveConfig> drives)
        : bay_(std::move(drives)), recording_(bay_) {
        auto system = std::make_unique<os::sim::SimSystem>();
        system_ = system.get();
        platform_.system = std::move(system);
        platform_.drives = std::make_unique<ForwardingDrives>(recording_);
        control_ = std::make_unique<CTestRunControl>(platform_, host);
    }

    HeadlessTestHost host;

    os::sim::SimSystem& System() { return *system_; }
    os::sim::SimDriveBay& Bay() { return bay_; }
    os::sim::RecordingDriveSystem& Recording() { return recording_; }
    CTestRunControl& Control() { return *control_; }
    os::Platform& Platform() { return platform_; }

    // Presses Start Test on drive with the answer given to the confirmation, and waits for
    // the worker, if one started.
    std::optional<SizeTestOutcome> Run(const std::string& drive, int mode, bool confirm = true) {
        host.answers.push_back(confirm ? kIdYes : kIdNo);
        device_.m_drive = drive;
        control_->OnTestMode(mode);
        control_->OnStartTest(&device_, sectorSize, false);
        control_->WaitForWorker();
        return control_->LastOutcome();
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const ShownBox& b : host.Boxes())
            texts.push_back(b.text);
        return texts;
    }

    std::vector<os::sim::VolumeOperation> Writes() const {
        std::vector<os::sim::VolumeOperation> writes;
        for (const auto& op : recording_.Operations())
            if (op.kind == os::sim::VolumeOperation::Kind::Write)
                writes.push_back(op);
        return writes;
    }

    // The dialog's sector size field.
    std::atomic<std::uint32_t> sectorSize{512};

private:
    // The platform owns its drives; these pass on to the recording, which the fixture owns.
    class ForwardingDrives : public os::IDriveSystem {
    public:
        explicit ForwardingDrives(os::IDriveSystem& inner) : inner_(inner) {}
        std::optional<std::vector<std::string>> LogicalDriveStrings() override {
            return inner_.LogicalDriveStrings();
        }
        os::DriveType GetDriveType(const std::string& d) override { return inner_.GetDriveType(d); }
        std::optional<std::int32_t> BusType(const std::string& d) override {
            return inner_.BusType(d);
        }
        std::optional<os::DiskGeometry> Geometry(const std::string& d) override {
            return geometry ? geometry(inner_, d) : inner_.Geometry(d);
        }
        std::optional<os::DiskFreeSpace> FreeSpace(const std::string& d) override {
            return inner_.FreeSpace(d);
        }
        std::unique_ptr<os::IScsiDevice> OpenScsi(const std::string& d) override {
            return inner_.OpenScsi(d);
        }
        std::unique_ptr<os::IMediaChangeSwitch>
        OpenMediaChangeSwitch(const std::string& d) override {
            return inner_.OpenMediaChangeSwitch(d);
        }
        std::unique_ptr<os::IRawVolume> OpenVolume(const std::string& d, os::VolumeAccess a,
                                                   os::VolumeShare s) override {
            auto v = inner_.OpenVolume(d, a, s);
            return v && volume ? volume(std::move(v)) : std::move(v);
        }
        std::function<std::unique_ptr<os::IRawVolume>(std::unique_ptr<os::IRawVolume>)> volume;
        std::function<std::optional<os::DiskGeometry>(os::IDriveSystem&, const std::string&)>
            geometry;

    private:
        os::IDriveSystem& inner_;
    };

public:
    // Replaces the geometry answers (for a medium that changes between Start and the run).
    void OverrideGeometry(
        std::function<std::optional<os::DiskGeometry>(os::IDriveSystem&, const std::string&)> fn) {
        static_cast<ForwardingDrives&>(*platform_.drives).geometry = std::move(fn);
    }

    // Wraps every volume the run opens (to make one read of a block fail or come back short).
    void OverrideVolume(
        std::function<std::unique_ptr<os::IRawVolume>(std::unique_ptr<os::IRawVolume>)> fn) {
        static_cast<ForwardingDrives&>(*platform_.drives).volume = std::move(fn);
    }

private:
    os::sim::SimDriveBay bay_;
    os::sim::RecordingDriveSystem recording_;
    os::sim::SimSystem* system_ = nullptr;
    os::Platform platform_;
    CDevice device_;
    std::unique_ptr<CTestRunControl> control_;
};

} // namespace corvane::testing
