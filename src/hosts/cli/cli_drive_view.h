#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "drives/drive_view.h"

namespace corvane {

class CDriveState;

// The drive controls without a window: keeps what each control would show, for the terminal
// front end and the tests. Message boxes are recorded and passed on to a host when one is
// given; without one, questions take the next scripted answer (No when none is left).
class CliDriveView : public IDriveView {
public:
    struct Box {
        std::string text;
        std::string caption;
        std::uint32_t style = 0;
    };

    explicit CliDriveView(IMessageBoxHost* host = nullptr) : host_(host) {}
    // The state whose bound strings RefreshBoundTexts shows.
    void Bind(const CDriveState& state) { state_ = &state; }

    void ComboResetContent() override;
    void ComboAddString(const std::string& line) override;
    void ComboSetCurSel(int index) override;
    int ComboGetCurSel() override { return selection_; }
    int ComboGetCount() override { return static_cast<int>(lines_.size()); }
    void EnableControl(int id, bool enabled) override { enabled_[id] = enabled; }
    void SetControlText(int id, const std::string& text) override { texts_[id] = text; }
    void RefreshBoundTexts() override;
    void SetProgressRange(int lower, int upper) override { progressRange_ = {lower, upper}; }
    void SetProgressPos(int position) override { progressPos_ = position; }
    void StartTimer(int id, unsigned periodMs) override { timers_.emplace_back(id, periodMs); }
    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;

    const std::vector<std::string>& ComboLines() const { return lines_; }
    // A control's text as shown: bound texts as of the last refresh, others as last set.
    std::string Text(int id) const;
    // A control's enabled state; nullopt when never set.
    std::optional<bool> Enabled(int id) const;
    std::pair<int, int> ProgressRange() const { return progressRange_; }
    int ProgressPos() const { return progressPos_; }
    const std::vector<std::pair<int, unsigned>>& Timers() const { return timers_; }
    const std::vector<Box>& Boxes() const { return boxes_; }
    int Refreshes() const { return refreshes_; }

    std::deque<int> answers;

private:
    IMessageBoxHost* host_;
    const CDriveState* state_ = nullptr;
    std::vector<std::string> lines_;
    int selection_ = -1;
    std::map<int, std::string> texts_;
    std::map<int, bool> enabled_;
    std::pair<int, int> progressRange_{0, 0};
    int progressPos_ = 0;
    std::vector<std::pair<int, unsigned>> timers_;
    std::vector<Box> boxes_;
    int refreshes_ = 0;
};

} // namespace corvane
