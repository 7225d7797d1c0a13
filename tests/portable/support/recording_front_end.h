#pragma once
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "app/corvane_app.h"

namespace corvane::testing {

struct ShownBox {
    std::string text;
    std::string caption;
    std::uint32_t style = 0;
};

// A front end that records every message box and answers from a script (OK for plain boxes;
// the next scripted answer, else No, for questions).
class RecordingFrontEnd : public IFrontEnd {
public:
    std::vector<ShownBox> boxes;
    std::deque<int> answers;
    int dialogRuns = 0;

    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override {
        std::lock_guard lock(mutex_);
        boxes.push_back({text, caption, style});
        if ((style & kMbYesNo) == 0)
            return kIdOk;
        if (answers.empty())
            return kIdNo;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool RunMainDialog(CCorvaneApp&) override {
        ++dialogRuns;
        return true;
    }

private:
    std::mutex mutex_;
};

} // namespace corvane::testing
