#include "hosts/cli/cli_drive_view.h"

#include "drives/drive_state.h"

namespace corvane {

void CliDriveView::ComboResetContent() {
    lines_.clear();
    selection_ = -1;
}

void CliDriveView::ComboAddString(const std::string& line) {
    lines_.push_back(line);
}

void CliDriveView::ComboSetCurSel(int index) {
    // As a combo box does: an index outside the lines clears the selection.
    selection_ = (index >= 0 && index < ComboGetCount()) ? index : -1;
}

void CliDriveView::RefreshBoundTexts() {
    ++refreshes_;
    if (state_ == nullptr)
        return;
    for (const BoundText& bound : CDriveState::BoundTexts())
        texts_[bound.id] = state_->*bound.text;
}

int CliDriveView::MessageBox(const std::string& text, const std::string& caption,
                             std::uint32_t style) {
    boxes_.push_back({text, caption, style});
    if (host_ != nullptr)
        return host_->MessageBox(text, caption, style);
    if ((style & kMbYesNo) == 0)
        return kIdOk;
    if (answers.empty())
        return kIdNo;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string CliDriveView::Text(int id) const {
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

std::optional<bool> CliDriveView::Enabled(int id) const {
    auto it = enabled_.find(id);
    if (it == enabled_.end())
        return std::nullopt;
    return it->second;
}

} // namespace corvane
