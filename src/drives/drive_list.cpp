#include <new>

#include "drives/drive_state.h"
#include "drives/drive_texts.h"
#include "drives/file_exception_guard.h"
#include "drives/inquiry.h"
#include "log/error_text.h"
#include "log/log_state.h"
#include "os/vocabulary.h"

namespace corvane {
namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The drive name of one entry of the system's drive strings. Entries of the form "X:\" are
// drive letters: upper case and cut to letter and colon. Any other entry (a Linux block device
// such as "sdb") is the drive name whole.
std::string DriveNameOf(const std::string& entry, bool& isLetter) {
    isLetter = entry.size() >= 2 && IsAsciiLetter(entry[0]) && entry[1] == ':' &&
               (entry.size() == 2 || entry.substr(2) == "\\");
    if (!isLetter)
        return entry;
    const char letter = static_cast<char>(entry[0] & ~0x20);
    return std::string{letter, ':'};
}

// The combo line of a record: "(%2s) %s " of the drive name and the vendor and product text.
std::string ComboLine(const CDevice& device) {
    std::string drive = device.m_drive;
    if (drive.size() < 2)
        drive.insert(0, 2 - drive.size(), ' ');
    return "(" + drive + ") " + device.m_vendorProduct + " ";
}

} // namespace

void CDriveState::RefillDriveList() {
    view_.ComboResetContent();
    m_DeviceList.clear();
    FillHDDComboList();
    // While a run holds a drive, Start Test stays as the run has set it: a device change must
    // not offer a second run on top of the first.
    const bool runActive = RunActive();
    if (m_DeviceList.empty()) {
        m_strStatus = kNoRemovableDrivesText;
        view_.EnableControl(kIdcStartTest, false);
        ClearDrivePanel();
        view_.RefreshBoundTexts();
        return;
    }
    m_strStatus.clear();
    if (!runActive)
        view_.EnableControl(kIdcStartTest, true);
    view_.RefreshBoundTexts();
    view_.ComboResetContent();
    for (const std::shared_ptr<CDevice>& device : m_DeviceList)
        view_.ComboAddString(ComboLine(*device));
    view_.ComboSetCurSel(0);
    view_.StartTimer(kDriveSelectTimer, kDriveSelectDelayMs);
}

bool CDriveState::FillHDDComboList() {
    if (!m_DeviceList.empty())
        return true;
    LogMessage(kLogWalkStart);
    bool completed = false;
    const std::optional<int> cause = CatchFileException([&] { completed = WalkDrives(); });
    if (cause) {
        LogMessage(kLogWalkException);
        ReportFileException(*cause, view_);
        return false;
    }
    return completed;
}

bool CDriveState::WalkDrives() {
    const std::optional<std::vector<std::string>> entries = drives_.LogicalDriveStrings();
    if (!entries)
        return false;
    LogMessage(kLogWalkGotStrings);
    LogMessage(kLogWalkLoopStart);
    m_ScsiCommand.CloseAssociateHandle();

    for (const std::string& entry : *entries) {
        if (entry.empty())
            continue;
        bool isLetter = false;
        const std::string drive = DriveNameOf(entry, isLetter);
        // A: and B: are never opened: touching a floppy drive can hang the walk.
        if (isLetter && (drive[0] == 'A' || drive[0] == 'B'))
            continue;

        LogMessage(kLogWalkGettingHandle);
        m_ScsiCommand.associate(drive);
        std::shared_ptr<CDevice> record;
        try {
            record = std::make_shared<CDevice>();
        } catch (const std::bad_alloc&) {
            m_ScsiCommand.CloseAssociateHandle();
            return false;
        }
        m_ScsiCommand.m_device = record;
        LogMessage(kLogWalkSendingInquiry);

        std::uint8_t data[kInquiryLength];
        if (SendInquiry(m_ScsiCommand, data) != 0) {
            LogMessage(kLogWalkInquiryError);
            continue;
        }
        const InquiryIdentity identity = ParseInquiry(data);
        record->m_drive = drive;
        record->m_peripheralType = identity.peripheralType;
        if (identity.vendorEmpty)
            continue;
        record->m_vendorProduct = identity.vendorProduct;
        record->m_revision = identity.revision;
        LogMessage(kLogWalkFoundDevice, record->m_vendorProduct);
        if (record->m_peripheralType != kDirectAccessDevice) {
            LogMessage(kLogWalkNotDasd);
            continue;
        }
        if (drives_.GetDriveType(drive) == os::kDriveRemovable) {
            record->m_busType = GetBusType(drive);
            m_DeviceList.push_back(std::move(record));
        }
    }

    LogMessage(kLogWalkLoopEnd);
    view_.RefreshBoundTexts();
    LogMessage(kLogWalkEnd);
    m_ScsiCommand.CloseAssociateHandle();
    return true;
}

std::int32_t CDriveState::GetBusType(const std::string& drive) {
    switch (drives_.GetDriveType(drive)) {
    case os::kDriveRemovable:
    case os::kDriveFixed:
    case os::kDriveCdrom:
    case os::kDriveRamdisk:
        return drives_.BusType(drive).value_or(-1);
    default:
        return -1;
    }
}

std::shared_ptr<CDevice> CDriveState::GetSelectedDevice() {
    LogMessage(kLogSelectStart);
    int index = view_.ComboGetCurSel();
    const int count = view_.ComboGetCount();
    if (index < 0 || index > count - 1)
        index = 0;
    if (static_cast<std::size_t>(index) >= m_DeviceList.size()) {
        view_.MessageBox(kErrorSelectingDeviceText, "", kMbOk);
        return nullptr;
    }
    if (std::shared_ptr<CDevice> device = m_DeviceList[static_cast<std::size_t>(index)]) {
        LogMessage(kLogSelectEnd);
        return device;
    }
    LogMessage(kLogSelectNull);
    view_.MessageBox(kSelectedDeviceNotFoundText, "", kMbOk);
    if (writeSetting_)
        writeSetting_(kHddSelectedDevice, 0);
    view_.ComboSetCurSel(0);
    view_.RefreshBoundTexts();
    return m_DeviceList.front();
}

} // namespace corvane
