#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drives/device.h"
#include "drives/drive_view.h"
#include "drives/scsi_command.h"
#include "os/drives.h"
#include "os/system.h"

namespace corvane {

class CDriveState;

// The squares of the test map: one stands for a 9000th of the drive's sectors.
inline constexpr std::uint64_t kMapPlots = 9000;

// A string of the state shown in a control when the bound texts are refreshed.
struct BoundText {
    int id;
    std::string CDriveState::*text;
};

// One line of the drive panel, in the panel's order. The Interface field has no bound string:
// its text is set on the control directly (text is null).
struct PanelField {
    const char* caption;
    int id;
    std::string CDriveState::*text;
};

// The drives as the main window knows them: the drive list and its combo, the current device
// and its sector size, the command channel, and the panel's texts. The dialog owns one and
// routes the drive messages here. Everything runs on the user-interface thread except the two
// run notices, which the worker may send.
class CDriveState {
public:
    // Writes an integer setting (HDDSelectedDevice); false when the store refused it.
    using SettingWriter = std::function<bool(const std::string& key, int value)>;

    CDriveState(os::IDriveSystem& drives, os::ISystem& system, IDriveView& view,
                SettingWriter writeSetting);
    CDriveState(const CDriveState&) = delete;
    CDriveState& operator=(const CDriveState&) = delete;

    // Empties the combo and the list, walks the drives again and brings the combo, the status
    // line, Start Test and the panel into the matching state; with drives found, selects line
    // 0 and starts timer 1.
    void RefillDriveList();
    // Fills the list with the removable direct-access drives that answer the INQUIRY. True when
    // the walk completed (or the list already held records), false when it could not start or
    // was cut short.
    bool FillHDDComboList();
    // The record the combo selection stands for (a selection out of range reads as line 0);
    // null only when the list is empty, after telling the user.
    std::shared_ptr<CDevice> GetSelectedDevice();
    // The storage bus type of a drive, or -1 (remote drives and failed queries).
    std::int32_t GetBusType(const std::string& drive);

    // Makes the selection the current device and fills the panel from the drive.
    void OnDriveSelChange();
    // Every panel field reads "---"; the bound texts are not refreshed.
    void ClearDrivePanel();

    // A run has taken drive with its size and sector size: until OnRunEnded, selecting that
    // drive shows those figures and never opens it, and the sector size field is left to the
    // run. Safe from any thread.
    void OnRunStarted(const std::string& drive, std::uint64_t size, std::uint32_t sectorSize);
    // No run holds a drive any more. Safe from any thread.
    void OnRunEnded();
    bool RunActive() const;

    static std::span<const BoundText> BoundTexts();
    static std::span<const PanelField> PanelFields();

    // The drive list, in the combo's line order. Records are shared, so one that the current
    // device still names stays valid after the list is rebuilt.
    std::vector<std::shared_ptr<CDevice>> m_DeviceList;
    // The current device: the record of the selected line, the drive a Start Test works on.
    std::shared_ptr<CDevice> m_pDevice;
    // Bytes per sector of the last successful geometry request; 0 before any.
    std::atomic<std::uint32_t> m_nSectorSize{0};
    CScsiCommand m_ScsiCommand;

    std::string m_strFirmware;
    std::string m_strDriveLetter;
    std::string m_strBrand;
    std::string m_strFormatSize;
    std::string m_strFreeSpace;
    std::string m_strMaxSize;
    std::string m_strUsedSpace;
    std::string m_strDriveType;
    std::string m_strModel;
    std::string m_strSizePerPlot;
    std::string m_strStatus;

private:
    struct RunningDrive {
        std::string drive;
        std::uint64_t size = 0;
        std::uint32_t sectorSize = 0;
        // The sector size of a drive selected during the run, handed to the field at its end.
        std::uint32_t selectedSectorSize = 0;
    };
    std::optional<RunningDrive> Running() const;
    void NoteSelectedSectorSize(std::uint32_t sectorSize);
    bool WalkDrives();

    os::IDriveSystem& drives_;
    os::ISystem& system_;
    IDriveView& view_;
    SettingWriter writeSetting_;
    mutable std::mutex runMutex_;
    std::optional<RunningDrive> running_;
};

} // namespace corvane
