#include "sizetest/control_text_view.h"

#include <limits>

#include "drives/panel_text.h"
#include "os/vocabulary.h"

namespace corvane {

void ControlTextView::ShowRunStart() {
    SetControlText(kIdcTestingSector, "0");
}

void ControlTextView::ShowSectorsRemainingUnknown() {
    SetControlText(kIdcSectorsRemaining, kNotAvailable);
}

void ControlTextView::ShowPass(TestPass pass) {
    const bool write = pass == TestPass::Write;
    SetControlText(kIdcAmountTestedLabel, write ? kAmountWrittenLabel : kAmountVerifiedLabel);
    SetControlText(kIdcTestingSectorLabel, write ? kWritingSectorLabel : kVerifyingSectorLabel);
}

void ControlTextView::ShowPosition(std::uint64_t p, std::uint64_t totalSectors,
                                   std::uint32_t sectorSize) {
    SetControlText(kIdcTestingSector, std::to_string(p));
    SetControlText(kIdcSectorsRemaining, std::to_string(totalSectors - p));
    SetControlText(kIdcAmountTested, FormatSize(p * sectorSize));
    SetControlText(kIdcAmountRemaining, FormatSize((totalSectors - p) * sectorSize));
}

void ControlTextView::ShowProgress(TestPass pass, std::uint64_t percent) {
    SetProgressText(ProgressText(pass, percent));
    const std::uint64_t position = percent + 1;
    constexpr std::uint64_t maxPos = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    SetProgressPos(static_cast<int>(position > maxPos ? maxPos : position));
}

void ControlTextView::ShowRunEnd(std::uint64_t totalSectors, std::uint32_t sectorSize) {
    SetProgressText(kAllComplete);
    SetProgressPos(100);
    SetControlText(kIdcSectorsRemaining, "0");
    SetControlText(kIdcAmountTested, FormatSize(totalSectors * sectorSize));
    SetControlText(kIdcAmountRemaining, kZeroGb);
}

void ControlTextView::ShowIdleButtons() {
    EnableControl(kIdcStopTest, false);
    EnableControl(kIdcStartTest, true);
}

void ControlTextView::ShowZeroFields() {
    for (int id : {kIdcTestingSector, kIdcSectorsRemaining, kIdcAmountTested, kIdcAmountRemaining})
        SetControlText(id, "0");
}

void ControlTextView::ShowRunningButtons() {
    EnableControl(kIdcStopTest, true);
    EnableControl(kIdcStartTest, false);
}

void ControlTextView::ShowStoppedButtons(bool startEnabled) {
    EnableControl(kIdcStopTest, false);
    EnableControl(kIdcStartTest, startEnabled);
}

} // namespace corvane
