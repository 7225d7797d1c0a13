#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "drives/drive_state.h"
#include "drives/drive_view.h"
#include "os/platform.h"
#include "sizetest/control_text_view.h"
#include "sizetest/run_control.h"
#include "ui/controls/hdd_graph_static.h"
#include "ui/controls/text_progress_ctrl.h"
#include "ui/dialog_host.h"

namespace corvane {

// The main window: the test map, the drive panel and the test's progress, the mode radios,
// Start and Stop, the drive combo and the status line. It owns the state the other subsystems
// share (the drive state, the run control, the attached controls) and routes every message to
// the one that handles it. Its handlers run on the dialog's thread; the test's worker reaches
// it only through the run view, whose members go to thread-safe host calls or to the map's
// atomic fields.
class CMeltrick : public IDriveView, public ControlTextView {
public:
    using SettingReader = std::function<std::uint32_t(const std::string& key, int defaultValue)>;
    using SettingWriter = CDriveState::SettingWriter;

    // Builds the members; attaches nothing (the windows exist only while the dialog runs).
    CMeltrick(IDialogHost& host, os::Platform& platform, SettingReader readSetting,
              SettingWriter writeSetting);
    // Stops a running test and waits until its worker has released the volume, then closes the
    // command channel and releases the font.
    ~CMeltrick() override;
    CMeltrick(const CMeltrick&) = delete;
    CMeltrick& operator=(const CMeltrick&) = delete;

    // Every message of the dialog, device changes first, then the message map; false when the
    // message is left to the framework's default handling.
    bool WindowProc(std::uint32_t message, WParam wParam, LParam lParam);

    // Attaches the controls once, then moves the bound texts and the mode radio between the
    // members and the controls (save: from the controls).
    void DoDataExchange(bool save);
    void UpdateData(bool save) { DoDataExchange(save); }
    bool OnInitDialog();
    void LoadMapColours();
    void ArrangeControls();

    // The message map. OnSysCommand: false for the commands left to the framework.
    bool OnSysCommand(unsigned id);
    void OnSize();
    void OnDriveSelChange() { m_DriveState.OnDriveSelChange(); }
    void OnClose();
    void OnStartTest();
    void OnStopTest() { m_RunControl.OnStopTest(); }
    void OnTestMode();
    void OnTimer(int id);

    // Drive list operations of this window.
    void RefillDriveList() { m_DriveState.RefillDriveList(); }
    void ClearDrivePanel() { m_DriveState.ClearDrivePanel(); }

    CDriveState& DriveState() { return m_DriveState; }
    CTestRunControl& RunControl() { return m_RunControl; }
    CHddGraphStatic& Graph() { return m_Graph; }
    int TestMode() const { return m_nTestMode; }
    FontHandle Font() const { return m_Font; }

    // Both views share the message boxes and the control calls.
    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    void EnableControl(int id, bool enabled) override;
    void SetControlText(int id, const std::string& text) override;
    void SetProgressPos(int position) override;

    // The drive view.
    void ComboResetContent() override;
    void ComboAddString(const std::string& line) override;
    void ComboSetCurSel(int index) override;
    int ComboGetCurSel() override;
    int ComboGetCount() override;
    void RefreshBoundTexts() override { UpdateData(false); }
    void SetProgressRange(int lower, int upper) override;
    void StartTimer(int id, unsigned periodMs) override;

    // The run view's map and formatter; the rest is ControlTextView's.
    void UseWriteBrush() override { m_Graph.UseWriteBrush(); }
    void UseVerifyBrush() override { m_Graph.UseVerifyBrush(); }
    void ClearPlots() override { m_Graph.ClearPlots(); }
    void AddPlots(std::uint64_t count) override;
    void RefreshMap() override { m_Graph.Refresh(); }
    void ResetMap() override { m_Graph.ResetMap(); }
    void LaunchFormatter(int driveNumber, const std::string& drive) override;

protected:
    void SetProgressText(const std::string& text) override;

private:
    IDialogHost& m_host;
    os::Platform& m_platform;
    SettingReader m_readSetting;
    CDriveState m_DriveState;
    CTextProgressCtrl m_Progress;
    CHddGraphStatic m_Graph;
    bool m_bAttached = false;
    int m_nTestMode = -1;
    FontHandle m_Font = 0;
    // Last, so it is destroyed first: its worker uses everything above.
    CTestRunControl m_RunControl;
};

} // namespace corvane
