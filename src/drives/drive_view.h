#pragma once
#include <string>

#include "os/vocabulary.h"

namespace corvane {

// Timer 1 runs the selection handler once, 100 ms after the drive list was filled.
inline constexpr int kDriveSelectTimer = 1;
inline constexpr unsigned kDriveSelectDelayMs = 100;

// The dialog's controls as the drive list and the properties panel use them; the controls are
// named by their ids (app/control_ids.h). The dialog implements it on its real controls, the
// CLI and the tests on recorded ones. User-interface thread only.
class IDriveView : public IMessageBoxHost {
public:
    // The drive combo (kIdcDriveCombo): empty it, append a line, select a line, read the
    // selection (-1 when none) and the line count.
    virtual void ComboResetContent() = 0;
    virtual void ComboAddString(const std::string& line) = 0;
    virtual void ComboSetCurSel(int index) = 0;
    virtual int ComboGetCurSel() = 0;
    virtual int ComboGetCount() = 0;
    // A control's enabled state (Start Test) and the text of a control that no string is bound
    // to (the Interface field), shown at once.
    virtual void EnableControl(int id, bool enabled) = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    // Writes the bound strings (CDriveState::BoundTexts) into their controls.
    virtual void RefreshBoundTexts() = 0;
    // The progress bar (kIdcProgress): its range and position.
    virtual void SetProgressRange(int lower, int upper) = 0;
    virtual void SetProgressPos(int position) = 0;
    // Starts a window timer; when it fires the dialog kills it and runs the selection handler.
    virtual void StartTimer(int id, unsigned periodMs) = 0;
};

} // namespace corvane
