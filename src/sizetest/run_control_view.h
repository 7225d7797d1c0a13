#pragma once
#include "sizetest/size_test_view.h"

namespace corvane {

// What the Start, Stop and mode actions show, beyond a run's own view.
class IRunControlView : public ISizeTestView {
public:
    // The test map with no plots, repainted.
    virtual void ResetMap() = 0;
    // The four value fields read "0".
    virtual void ShowZeroFields() = 0;
    // Stop Test enabled, Start Test disabled.
    virtual void ShowRunningButtons() = 0;
    // Stop Test disabled; Start Test enabled when startEnabled.
    virtual void ShowStoppedButtons(bool startEnabled) = 0;
};

} // namespace corvane
