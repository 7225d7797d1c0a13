#include "drives/scsi_command.h"

#include <stdexcept>

#include "drives/drive_texts.h"
#include "drives/file_exception_guard.h"
#include "log/error_text.h"
#include "log/log_state.h"

namespace corvane {
namespace {

using Layout = os::PassThroughLayout;

} // namespace

std::string DevicePath(const std::string& drive) {
    return "\\\\.\\" + drive.substr(0, kMaxPathDriveName);
}

CScsiCommand::CScsiCommand(os::IDriveSystem& drives, os::ISystem& system)
    : m_drives(drives), m_system(system) {}

CScsiCommand::~CScsiCommand() {
    if (m_handle)
        CloseAssociateHandle();
}

int CScsiCommand::associate(const std::string& drive) {
    if (m_handle)
        return 1;
    m_path = DevicePath(drive);
    m_pathDrive = drive.substr(0, kMaxPathDriveName);
    const std::optional<int> cause =
        CatchFileException([&] { m_handle = m_drives.OpenScsi(m_pathDrive); });
    if (cause) {
        LogMessage(kLogAssociateException, *cause);
        m_handle.reset();
        return 0;
    }
    LogMessage(kLogAssociate);
    return m_handle ? 1 : 0;
}

void CScsiCommand::CloseAssociateHandle() {
    const std::optional<int> cause = CatchFileException([&] {
        if (m_handle) {
            m_handle.reset();
            DisableMCN(false);
        }
    });
    if (cause) {
        LogMessage(kLogCloseException, *cause);
        m_handle.reset();
    }
    LogMessage(kLogCloseHandle);
}

std::uint8_t& CScsiCommand::CdbByte(int index) {
    if (index < 0 || index >= kCdbBytes)
        throw std::out_of_range("CDB byte index out of range");
    if (index == 0) {
        m_sptd.fill(0);
        os::SetPassThrough16(m_sptd, Layout::kLength, kPassThroughLength);
        m_sptd[Layout::kSenseInfoLength] = kSenseInfoLength;
        m_sptd[Layout::kDataIn] = os::kScsiDataUnspecified;
        os::SetPassThrough32(m_sptd, Layout::kTimeOutValue, kScsiTimeoutSeconds);
        os::SetPassThrough32(m_sptd, Layout::kSenseInfoOffset, kSenseInfoOffset);
    }
    m_sptd[Layout::kCdbLength] = static_cast<std::uint8_t>(index + 1);
    return m_sptd[static_cast<std::size_t>(Layout::kCdb + index)];
}

int CScsiCommand::Execute(std::uint8_t direction, void* buffer, std::uint32_t length) {
    if (!m_handle && m_device)
        associate(m_device->m_drive);
    if (!m_handle)
        return 1;
    // The data buffer itself travels beside the block: the backend hands it to the system.
    os::SetPassThrough32(m_sptd, Layout::kDataTransferLength, length);
    m_sptd[Layout::kDataIn] = direction;
    const bool ok = m_handle->PassThroughDirect(m_sptd, buffer, m_bytesReturned);
    if (!ok || (m_sptd[Layout::kSense] & kSenseResponseBits) != 0)
        return 1;
    return 0;
}

int CScsiCommand::ExecuteAndClose(std::uint8_t direction, void* buffer, std::uint32_t length) {
    const int result = Execute(direction, buffer, length);
    CloseAssociateHandle();
    return result;
}

int CScsiCommand::DisableMCN(bool disable) {
    if (disable) {
        LogMessage(kLogMcnTrue);
        // A switch left from an earlier call is closed first: only one is held at a time.
        if (m_mcnHandle) {
            m_mcnHandle->Close();
            m_mcnHandle.reset();
        }
        m_mcnHandle = m_drives.OpenMediaChangeSwitch(m_pathDrive);
        if (!m_mcnHandle) {
            LogMessage(kLogMcnOpenFailed);
            return -1;
        }
    } else {
        if (!m_mcnHandle)
            return 0;
        LogMessage(kLogMcnFalse);
    }
    m_mcnBytes = 0;
    const bool ok = m_mcnHandle->Control(disable, m_mcnBytes);
    if (ok) {
        LogMessage(disable ? kLogMcnDisabled : kLogMcnEnabled);
    } else {
        std::string error;
        FormatLastError(m_system, error);
        LogMessage(kLogLastErrorReturned, error,
                   disable ? kLogMcnDisableFailed : kLogMcnEnableFailed);
    }
    if (!disable) {
        if (!m_mcnHandle->Close())
            LogMessage(kLogMcnCloseFailed);
        // The switch is released either way: a handle whose close failed cannot be used again.
        m_mcnHandle.reset();
    }
    return ok ? 1 : 0;
}

} // namespace corvane
