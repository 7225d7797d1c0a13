#pragma once
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/recording_control_window.h"
#include "support/recording_front_end.h"
#include "ui/dialog_host.h"
#include "ui/dialog_messages.h"
#include "ui/dialog_templates.h"

namespace corvane::testing {

// A dialog without a window system: its controls are made from the template table and keep
// their text, enabled state, position and font; message boxes are answered from a script
// (No when it is empty) and recorded; timers fire when the test says so. What the user would
// see is also kept in order, one line per change, in Events(). Calls from the test's worker
// are served at once under one lock, as the window system would serve them on the dialog's
// thread one at a time.
class HeadlessDialogHost : public IDialogHost {
public:
    struct Control {
        ControlKind kind;
        std::string text;
        bool enabled = true;
        Point position; // the template's place, in dialog units, until the dialog moves it
        bool moved = false;
        FontHandle font = 0;
        ControlProc proc;
        std::unique_ptr<RecordingControlWindow> window;
    };
    struct MenuItem {
        bool separator;
        std::string text;
        unsigned command;
    };

    explicit HeadlessDialogHost(int templateId = kIddMainDialog) {
        const DialogTemplate* t = FindTemplate(templateId);
        if (t == nullptr)
            return;
        caption = t->caption;
        for (const DialogControl& c : t->controls) {
            Control& made = controls_[c.id];
            made.kind = c.kind;
            made.text = c.text ? c.text : "";
            made.enabled = (c.style & kStyleDisabled) == 0;
            made.position = {c.rect.x, c.rect.y};
        }
    }

    // The window procedure the host delivers messages to (the dialog's WindowProc).
    std::function<bool(std::uint32_t, WParam, LParam)> windowProc;
    // Answers for Yes/No boxes, in order.
    std::deque<int> answers;
    // Called on the calling thread, outside the lock, after the progress bar took a position.
    std::function<void(int position)> onProgressPos;
    // Called on the calling thread after a text of a control changed, with the control's id.
    std::function<void(int id, const std::string& text)> onText;
    std::string caption;
    int captionHeight = 22;
    bool hasSystemMenu = true;
    std::map<int, std::string> strings{{kIdsAboutBox, kAboutMenuText}};
    bool fontsFail = false;

    // --- what the test reads ---
    std::string Text(int id) const {
        std::lock_guard lock(mutex_);
        auto it = controls_.find(id);
        return it == controls_.end() ? std::string() : it->second.text;
    }
    bool Enabled(int id) const {
        std::lock_guard lock(mutex_);
        return controls_.at(id).enabled;
    }
    std::optional<Point> MovedTo(int id) const {
        std::lock_guard lock(mutex_);
        const Control& c = controls_.at(id);
        return c.moved ? std::optional<Point>(c.position) : std::nullopt;
    }
    FontHandle FontOf(int id) const {
        std::lock_guard lock(mutex_);
        return controls_.at(id).font;
    }
    std::vector<int> ControlIds() const {
        std::lock_guard lock(mutex_);
        std::vector<int> ids;
        for (const auto& [id, c] : controls_)
            ids.push_back(id);
        return ids;
    }
    RecordingControlWindow* Window(int id) {
        std::lock_guard lock(mutex_);
        return controls_.at(id).window.get();
    }
    std::vector<std::string> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    // The events that begin with prefix, in order.
    std::vector<std::string> EventsOf(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& e : Events())
            if (e.rfind(prefix, 0) == 0)
                out.push_back(e);
        return out;
    }
    std::vector<ShownBox> Boxes() const {
        std::lock_guard lock(mutex_);
        return boxes_;
    }
    std::vector<std::string> ComboLines() const {
        std::lock_guard lock(mutex_);
        return combo_;
    }
    int ComboSelection() const {
        std::lock_guard lock(mutex_);
        return comboSel_;
    }
    int CheckedRadio() const {
        std::lock_guard lock(mutex_);
        return checkedRadio_;
    }
    std::set<int> Timers() const {
        std::lock_guard lock(mutex_);
        return timers_;
    }
    std::vector<MenuItem> SystemMenu() const {
        std::lock_guard lock(mutex_);
        return menu_;
    }
    std::vector<int> Icons() const { return icons_; }
    std::optional<std::pair<int, int>> WindowSize() const { return windowSize_; }
    std::optional<int> EndResult() const { return endResult_; }
    std::vector<int> Formatted() const {
        std::lock_guard lock(mutex_);
        return formatted_;
    }
    // The dialogs run modally over this one, each as a host of its own after its init.
    std::vector<std::unique_ptr<HeadlessDialogHost>> modals;
    std::vector<int> modalResults;

    // --- what the test does as the user or the system ---
    // Timer id fires when it is running; false when it is not.
    bool FireTimer(int id) {
        {
            std::lock_guard lock(mutex_);
            if (!timers_.contains(id))
                return false;
        }
        windowProc(kWmTimer, static_cast<WParam>(id), 0);
        return true;
    }
    // A click on a button, the check of a radio button included.
    void Click(int id) {
        {
            std::lock_guard lock(mutex_);
            if (!controls_.at(id).enabled)
                return;
            if (controls_.at(id).kind == ControlKind::RadioButton)
                checkedRadio_ = id;
        }
        windowProc(kWmCommand, CommandWParam(id, kBnClicked), 0);
    }
    // The user picks line index of the combo.
    void SelectComboLine(int index) {
        {
            std::lock_guard lock(mutex_);
            comboSel_ = index;
        }
        windowProc(kWmCommand, CommandWParam(kIdcDriveCombo, kCbnSelChange), 0);
    }

    // --- IDialogHost ---
    int MessageBox(const std::string& text, const std::string& boxCaption,
                   std::uint32_t style) override {
        std::lock_guard lock(mutex_);
        boxes_.push_back({text, boxCaption, style});
        events_.push_back("box " + text);
        if ((style & kMbYesNo) == 0)
            return kIdOk;
        if (answers.empty())
            return kIdNo;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    void SetDlgItemText(int id, const std::string& text) override {
        {
            std::lock_guard lock(mutex_);
            auto& c = controls_.at(id);
            if (c.text == text)
                return;
            c.text = text;
            events_.push_back("text " + std::to_string(id) + " " + text);
        }
        if (onText)
            onText(id, text);
    }
    std::string GetDlgItemText(int id) override { return Text(id); }
    void EnableDlgItem(int id, bool enabled) override {
        std::lock_guard lock(mutex_);
        auto& c = controls_.at(id);
        if (c.enabled != enabled)
            events_.push_back((enabled ? "enable " : "disable ") + std::to_string(id));
        c.enabled = enabled;
    }
    bool IsDlgItemEnabled(int id) override { return Enabled(id); }
    void MoveDlgItem(int id, Point at) override {
        std::lock_guard lock(mutex_);
        controls_.at(id).position = at;
        controls_.at(id).moved = true;
    }
    LResult SendDlgItemMessage(int id, std::uint32_t message, WParam wParam,
                               LParam lParam) override {
        LResult result = 0;
        std::optional<int> position;
        {
            std::lock_guard lock(mutex_);
            Control& c = controls_.at(id);
            if (message == kWmSetText)
                events_.push_back("bar " + std::string(reinterpret_cast<const char*>(lParam)));
            if (message == kPbmSetPos) {
                events_.push_back("pos " + std::to_string(static_cast<int>(wParam)));
                position = static_cast<int>(wParam);
            }
            if (c.proc)
                result = c.proc(message, wParam, lParam);
        }
        if (position && onProgressPos)
            onProgressPos(*position);
        return result;
    }
    IControlWindow* SubclassDlgItem(int id, ControlProc proc) override {
        std::lock_guard lock(mutex_);
        auto it = controls_.find(id);
        if (it == controls_.end())
            return nullptr;
        it->second.proc = std::move(proc);
        it->second.window = std::make_unique<RecordingControlWindow>(506, 485);
        return it->second.window.get();
    }
    FontHandle CreateFont(int height, const std::string& face) override {
        std::lock_guard lock(mutex_);
        if (fontsFail)
            return 0;
        fonts_.push_back({height, face});
        return static_cast<FontHandle>(fonts_.size());
    }
    void DeleteFont(FontHandle font) override {
        std::lock_guard lock(mutex_);
        deletedFonts.push_back(font);
    }
    void SetFontToAllChildren(FontHandle font) override {
        std::lock_guard lock(mutex_);
        for (auto& [id, c] : controls_)
            c.font = font;
    }
    void ComboResetContent(int) override {
        std::lock_guard lock(mutex_);
        combo_.clear();
        comboSel_ = -1;
        events_.push_back("combo reset");
    }
    void ComboAddString(int, const std::string& line) override {
        std::lock_guard lock(mutex_);
        combo_.push_back(line);
        events_.push_back("combo add " + line);
    }
    void ComboDeleteString(int, int index) override {
        std::lock_guard lock(mutex_);
        if (index >= 0 && index < static_cast<int>(combo_.size()))
            combo_.erase(combo_.begin() + index);
        events_.push_back("combo delete " + std::to_string(index));
    }
    void ComboSetCurSel(int, int index) override {
        std::lock_guard lock(mutex_);
        comboSel_ = index < static_cast<int>(combo_.size()) ? index : -1;
        events_.push_back("combo select " + std::to_string(index));
    }
    int ComboGetCurSel(int) override { return ComboSelection(); }
    int ComboGetCount(int) override {
        std::lock_guard lock(mutex_);
        return static_cast<int>(combo_.size());
    }
    void CheckRadioButton(int, int, int checked) override {
        std::lock_guard lock(mutex_);
        checkedRadio_ = checked;
    }
    int GetCheckedRadioButton(int, int) override { return CheckedRadio(); }
    void SetTimer(int id, unsigned periodMs) override {
        std::lock_guard lock(mutex_);
        timers_.insert(id);
        events_.push_back("timer " + std::to_string(id) + " " + std::to_string(periodMs));
    }
    void KillTimer(int id) override {
        std::lock_guard lock(mutex_);
        timers_.erase(id);
    }
    void InvalidateControl(int id) override {
        std::lock_guard lock(mutex_);
        invalidated.push_back(id);
    }
    void UpdateWindow() override {}
    std::string LoadString(int id) override {
        auto it = strings.find(id);
        return it == strings.end() ? std::string() : it->second;
    }
    bool AppendSystemMenuItem(const std::string& text, unsigned command) override {
        if (!hasSystemMenu)
            return false;
        std::lock_guard lock(mutex_);
        menu_.push_back({true, "", 0});
        menu_.push_back({false, text, command});
        return true;
    }
    void SetIcon(int resourceId) override { icons_.push_back(resourceId); }
    int CaptionHeight() override { return captionHeight; }
    void SetWindowSize(int width, int height) override { windowSize_ = {width, height}; }
    void OfferFormat(int driveNumber, const std::string&) override {
        std::lock_guard lock(mutex_);
        formatted_.push_back(driveNumber);
        events_.push_back("format " + std::to_string(driveNumber));
    }
    int RunModalDialog(int templateId, std::function<bool(IDialogHost&)> onInit) override {
        auto child = std::make_unique<HeadlessDialogHost>(templateId);
        onInit(*child);
        modals.push_back(std::move(child));
        modalResults.push_back(2); // the user presses Escape: the framework's Cancel
        return 2;
    }
    void EndDialog(int result) override { endResult_ = result; }

    std::vector<int> invalidated;
    std::vector<FontHandle> deletedFonts;
    std::vector<std::pair<int, std::string>> fonts_;

private:
    mutable std::recursive_mutex mutex_;
    std::map<int, Control> controls_;
    std::vector<std::string> events_;
    std::vector<ShownBox> boxes_;
    std::vector<std::string> combo_;
    int comboSel_ = -1;
    int checkedRadio_ = 0;
    std::set<int> timers_;
    std::vector<MenuItem> menu_;
    std::vector<int> icons_;
    std::optional<std::pair<int, int>> windowSize_;
    std::optional<int> endResult_;
    std::vector<int> formatted_;
};

} // namespace corvane::testing
