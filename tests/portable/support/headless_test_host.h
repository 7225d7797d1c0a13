#pragma once
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "sizetest/control_text_view.h"
#include "support/recording_front_end.h"

namespace corvane::testing {

// A host without windows for a test run: keeps every control's text and state as the dialog
// would show them, records the map, the message boxes and the formatter, and answers
// questions from a script (No when the script is empty). Safe to call from the worker.
class HeadlessTestHost : public ControlTextView {
public:
    // Answers for Yes/No boxes, in order.
    std::deque<int> answers;
    // Called (on the worker) after each progress update, with the pass and percent.
    std::function<void(TestPass, std::uint64_t)> onProgress;

    std::string Text(int id) const {
        std::lock_guard lock(mutex_);
        auto it = texts_.find(id);
        return it == texts_.end() ? std::string() : it->second;
    }
    bool Enabled(int id) const {
        std::lock_guard lock(mutex_);
        auto it = enabled_.find(id);
        return it != enabled_.end() && it->second;
    }
    std::vector<ShownBox> Boxes() const {
        std::lock_guard lock(mutex_);
        return boxes_;
    }
    std::vector<std::string> ProgressTexts() const {
        std::lock_guard lock(mutex_);
        return progressTexts_;
    }
    int ProgressPos() const {
        std::lock_guard lock(mutex_);
        return progressPos_;
    }
    // Plots added since the last ClearPlots / ResetMap, and in all.
    std::uint64_t Plots() const {
        std::lock_guard lock(mutex_);
        return plots_;
    }
    std::vector<std::uint64_t> PlotsPerPass() const {
        std::lock_guard lock(mutex_);
        return plotsPerPass_;
    }
    std::vector<std::uint64_t> AddPlotCalls() const {
        std::lock_guard lock(mutex_);
        return addPlotCalls_;
    }
    std::vector<std::string> MapEvents() const {
        std::lock_guard lock(mutex_);
        return mapEvents_;
    }
    std::vector<int> Formatted() const {
        std::lock_guard lock(mutex_);
        return formatted_;
    }

    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override {
        std::lock_guard lock(mutex_);
        boxes_.push_back({text, caption, style});
        if ((style & kMbYesNo) == 0)
            return kIdOk;
        if (answers.empty())
            return kIdNo;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    void UseWriteBrush() override { Event("write brush"); }
    void UseVerifyBrush() override { Event("verify brush"); }
    void ClearPlots() override {
        std::lock_guard lock(mutex_);
        plotsPerPass_.push_back(plots_);
        plots_ = 0;
        mapEvents_.push_back("clear");
    }
    void AddPlots(std::uint64_t count) override {
        std::lock_guard lock(mutex_);
        plots_ += count;
        addPlotCalls_.push_back(count);
    }
    void RefreshMap() override {}
    void ResetMap() override {
        std::lock_guard lock(mutex_);
        plots_ = 0;
        mapEvents_.push_back("reset");
    }
    void LaunchFormatter(int driveNumber, const std::string&) override {
        std::lock_guard lock(mutex_);
        formatted_.push_back(driveNumber);
    }
    void ShowProgress(TestPass pass, std::uint64_t percent) override {
        ControlTextView::ShowProgress(pass, percent);
        if (onProgress)
            onProgress(pass, percent);
    }

protected:
    void SetControlText(int id, const std::string& text) override {
        std::lock_guard lock(mutex_);
        texts_[id] = text;
    }
    void EnableControl(int id, bool enabled) override {
        std::lock_guard lock(mutex_);
        enabled_[id] = enabled;
    }
    void SetProgressText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        progressTexts_.push_back(text);
    }
    void SetProgressPos(int position) override {
        std::lock_guard lock(mutex_);
        progressPos_ = position;
    }

private:
    void Event(const char* what) {
        std::lock_guard lock(mutex_);
        mapEvents_.push_back(what);
    }
    mutable std::mutex mutex_;
    std::map<int, std::string> texts_;
    std::map<int, bool> enabled_;
    std::vector<ShownBox> boxes_;
    std::vector<std::string> progressTexts_;
    int progressPos_ = 0;
    std::uint64_t plots_ = 0;
    std::vector<std::uint64_t> plotsPerPass_;
    std::vector<std::uint64_t> addPlotCalls_;
    std::vector<std::string> mapEvents_;
    std::vector<int> formatted_;
};

} // namespace corvane::testing
