#pragma once
#include <string>

#include "sizetest/run_control_view.h"

namespace corvane {

// Turns a run's values into the dialog's control texts: the adapter for hosts that show the
// run in controls named by id (the dialog, and the headless host of the tests).
class ControlTextView : public IRunControlView {
public:
    void ShowRunStart() override;
    void ShowSectorsRemainingUnknown() override;
    void ShowPass(TestPass pass) override;
    void ShowPosition(std::uint64_t p, std::uint64_t totalSectors,
                      std::uint32_t sectorSize) override;
    void ShowProgress(TestPass pass, std::uint64_t percent) override;
    void ShowRunEnd(std::uint64_t totalSectors, std::uint32_t sectorSize) override;
    void ShowIdleButtons() override;
    void ShowZeroFields() override;
    void ShowRunningButtons() override;
    void ShowStoppedButtons(bool startEnabled) override;

protected:
    // What the host does with a control.
    virtual void SetControlText(int id, const std::string& text) = 0;
    virtual void EnableControl(int id, bool enabled) = 0;
    // The progress bar: its text and its position (the range is 0 to 100).
    virtual void SetProgressText(const std::string& text) = 0;
    virtual void SetProgressPos(int position) = 0;
};

} // namespace corvane
