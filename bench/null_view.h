#pragma once
#include "sizetest/run_control_view.h"

namespace corvane::bench {

// A view that shows nothing and answers every question with No: what the engine costs
// without any front end.
class NullView : public IRunControlView {
public:
    int MessageBox(const std::string&, const std::string&, std::uint32_t) override { return kIdNo; }
    void ShowRunStart() override {}
    void ShowSectorsRemainingUnknown() override {}
    void ShowPass(TestPass) override {}
    void ShowPosition(std::uint64_t, std::uint64_t, std::uint32_t) override {}
    void ShowProgress(TestPass, std::uint64_t) override {}
    void ShowRunEnd(std::uint64_t, std::uint32_t) override {}
    void UseWriteBrush() override {}
    void UseVerifyBrush() override {}
    void ClearPlots() override {}
    void AddPlots(std::uint64_t) override {}
    void RefreshMap() override {}
    void LaunchFormatter(int, const std::string&) override {}
    void ShowIdleButtons() override {}
    void ResetMap() override {}
    void ShowZeroFields() override {}
    void ShowRunningButtons() override {}
    void ShowStoppedButtons(bool) override {}
};

} // namespace corvane::bench
