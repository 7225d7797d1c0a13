#pragma once
#include <memory>

#include "os/drives.h"
#include "os/sim/sim_drive.h"

namespace corvane::os::sim {

// The handles the bay hands out. Each holds its drive, so the drive outlives the handle.
std::unique_ptr<IRawVolume> OpenSimVolume(const std::shared_ptr<SimDrive>& drive,
                                          VolumeAccess access, VolumeShare share);
std::unique_ptr<IScsiDevice> OpenSimScsi(const std::shared_ptr<SimDrive>& drive);
std::unique_ptr<IMediaChangeSwitch>
OpenSimMediaChangeSwitch(const std::shared_ptr<SimDrive>& drive);

// The INQUIRY data the drive returns: 96 bytes of the standard format.
inline constexpr std::size_t kSimInquiryBytes = 96;
void BuildSimInquiry(const SimDriveConfig& config, std::uint8_t* data);

} // namespace corvane::os::sim
