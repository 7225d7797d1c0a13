#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "drives/device.h"
#include "os/drives.h"
#include "os/scsi.h"
#include "os/system.h"

namespace corvane {

// Fixed fields of every pass-through request.
inline constexpr std::uint16_t kPassThroughLength = 44;
inline constexpr std::uint8_t kSenseInfoLength = 18;
inline constexpr std::uint32_t kScsiTimeoutSeconds = 108000;
inline constexpr std::uint32_t kSenseInfoOffset = 44;
inline constexpr int kCdbBytes = 16;
// Response codes 0x70 to 0x7F in the first sense byte mean the drive returned sense data.
inline constexpr std::uint8_t kSenseResponseBits = 0x70;
// The longest drive name the device path takes.
inline constexpr std::size_t kMaxPathDriveName = 95;

// The device path of a drive: "\\.\" and at most 95 characters of its name.
std::string DevicePath(const std::string& drive);

// Sends SCSI commands to one drive at a time and switches its media change notification.
// The request is built here, in the portable 64-byte block; the backend only moves bytes.
// Used on one thread only (the window's).
class CScsiCommand {
public:
    CScsiCommand(os::IDriveSystem& drives, os::ISystem& system);
    // Closes an open handle as CloseAssociateHandle does.
    ~CScsiCommand();
    CScsiCommand(const CScsiCommand&) = delete;
    CScsiCommand& operator=(const CScsiCommand&) = delete;

    // Opens drive for commands. 1 when a handle is open afterwards (also when one already
    // was, which is kept), 0 when the open failed.
    int associate(const std::string& drive);
    // Closes the drive handle, switches notification back on if it was off, and logs.
    void CloseAssociateHandle();
    // Byte index (0 to 15) of the command block. Byte 0 starts a new command: the whole block
    // is cleared and its fixed fields set. The command length follows the last byte asked for.
    std::uint8_t& CdbByte(int index);
    // Sends the command built with CdbByte. 0 on success; 1 when no handle could be opened,
    // the request failed, or the drive returned sense data.
    int Execute(std::uint8_t direction, void* buffer, std::uint32_t length);
    // Execute, then CloseAssociateHandle; the result of Execute.
    int ExecuteAndClose(std::uint8_t direction, void* buffer, std::uint32_t length);
    // Switches media change notification off (true: the result of the request, -1 when the
    // switch cannot be opened) or back on (false: 0 when it was never switched off).
    int DisableMCN(bool disable);

    bool HandleOpen() const { return m_handle != nullptr; }
    const os::PassThroughBlock& Block() const { return m_sptd; }

    // Device path of the drive last associated; kept after the close.
    std::string m_path;
    // The record the channel serves; a command sent without an open handle reopens its drive.
    std::shared_ptr<CDevice> m_device;
    std::uint32_t m_mcnBytes = 0;
    std::uint32_t m_bytesReturned = 0;

private:
    os::IDriveSystem& m_drives;
    os::ISystem& m_system;
    // The drive name m_path was made of (what the drive system opens).
    std::string m_pathDrive;
    std::unique_ptr<os::IScsiDevice> m_handle;
    std::unique_ptr<os::IMediaChangeSwitch> m_mcnHandle;
    os::PassThroughBlock m_sptd{};
};

} // namespace corvane
