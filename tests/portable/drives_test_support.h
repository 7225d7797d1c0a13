#pragma once
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "drives/drive_state.h"
#include "hosts/cli/cli_drive_view.h"
#include "log/log_file.h"
#include "log/log_state.h"
#include "os/sim/sim_bay.h"
#include "os/sim/sim_system.h"
#include "support/recording_drive_system.h"
#include "support/temp_dir.h"

namespace corvane::testing {

// A log in a temporary folder, made the process's log for the object's life.
class ScopedLog {
public:
    ScopedLog() : log_(system_) {
        SetProcessLog(&log_);
        log_.StartLog(temp_.folder(), "Corvane");
        headerBytes_ = ReadWholeFile(log_.LogPath()).size();
    }
    ~ScopedLog() { SetProcessLog(nullptr); }
    ScopedLog(const ScopedLog&) = delete;
    ScopedLog& operator=(const ScopedLog&) = delete;

    // The messages written since the header, without their time stamps.
    std::vector<std::string> Messages() const {
        const std::string text = ReadWholeFile(log_.LogPath()).substr(headerBytes_);
        std::vector<std::string> lines;
        std::size_t begin = 0;
        for (std::size_t at; (at = text.find("\r\n", begin)) != std::string::npos; begin = at + 2) {
            std::string line = text.substr(begin, at - begin);
            if (line.size() >= 9 && line[2] == ':' && line[5] == ':' && line[8] == ' ')
                line.erase(0, 9);
            lines.push_back(line);
        }
        return lines;
    }

private:
    TempDir temp_;
    os::sim::SimSystem system_;
    CLogFile log_;
    std::size_t headerBytes_ = 0;
};

// A drive of the bay with the identity and size of an ordinary USB stick.
inline os::sim::SimDriveConfig Stick(const std::string& name, const std::string& vendor = "SanDisk",
                                     const std::string& product = "Cruzer Blade") {
    os::sim::SimDriveConfig drive;
    drive.name = name;
    drive.vendor = vendor;
    drive.product = product;
    drive.size = 64ULL * 1024 * 1024;
    return drive;
}

inline os::sim::SimDriveConfig WithType(os::sim::SimDriveConfig drive, os::DriveType type) {
    drive.type = type;
    return drive;
}

// Records the raw volume operations and counts the queries that open a drive or ask its file
// system.
class CountingRecorder : public os::sim::RecordingDriveSystem {
public:
    using RecordingDriveSystem::RecordingDriveSystem;
    std::optional<os::DiskGeometry> Geometry(const std::string& drive) override {
        geometryAsked.push_back(drive);
        return RecordingDriveSystem::Geometry(drive);
    }
    std::optional<os::DiskFreeSpace> FreeSpace(const std::string& drive) override {
        freeSpaceAsked.push_back(drive);
        return RecordingDriveSystem::FreeSpace(drive);
    }
    std::vector<std::string> geometryAsked;
    std::vector<std::string> freeSpaceAsked;
};

// The drive state of a window over a simulated bay, with every drive access recorded.
struct DriveHarness {
    explicit DriveHarness(std::vector<os::sim::SimDriveConfig> drives)
        : bay(std::move(drives)), recorder(bay),
          state(recorder, system, view, [this](const std::string& key, int value) {
              settingWrites.emplace_back(key, value);
              return true;
          }) {
        view.Bind(state);
    }

    // The drives that saw a raw volume open, in order.
    std::vector<std::string> VolumeOpens() const {
        std::vector<std::string> drives;
        for (const os::sim::VolumeOperation& op : recorder.Operations()) {
            if (op.kind == os::sim::VolumeOperation::Kind::Open)
                drives.push_back(op.drive);
        }
        return drives;
    }

    os::sim::SimDriveBay bay;
    CountingRecorder recorder;
    os::sim::SimSystem system;
    CliDriveView view;
    std::vector<std::pair<std::string, int>> settingWrites;
    CDriveState state;
};

// 512-byte sectors stamped with stamp in every 4-byte group, as the size test writes them.
inline std::vector<std::uint8_t> Stamped(std::uint32_t stamp, std::uint32_t sectors = 1) {
    std::vector<std::uint8_t> block(std::size_t{sectors} * 512);
    for (std::size_t i = 0; i < block.size(); i += 4)
        std::memcpy(block.data() + i, &stamp, 4);
    return block;
}

} // namespace corvane::testing
