// The main window as a user meets it, over a host without windows, with the worker running for
// real against simulated drives: what shows, and in which order.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "drives/drive_state.h"
#include "drives/drive_texts.h"
#include "drives/panel_text.h"
#include "os/sim/sim_bay.h"
#include "os/sim/sim_system.h"
#include "sizetest/size_test_texts.h"
#include "support/headless_dialog_host.h"
#include "support/test_run_fixture.h"
#include "ui/dialog_messages.h"
#include "ui/dialog_templates.h"
#include "ui/meltrick.h"

namespace corvane {
namespace {

using os::sim::Beyond;
using os::sim::SimDriveConfig;
using testing::BayDrive;
using testing::HeadlessDialogHost;
using testing::kGiB;

// The main window, with the map's plot count noted each time the engine clears it (between
// the passes), which no control shows for long enough to read.
class PlotWatchingMeltrick : public CMeltrick {
public:
    using CMeltrick::CMeltrick;
    void ClearPlots() override {
        {
            std::lock_guard lock(mutex_);
            countsAtClear_.push_back(Graph().PlotCount());
        }
        CMeltrick::ClearPlots();
    }
    std::vector<int> CountsAtClear() const {
        std::lock_guard lock(mutex_);
        return countsAtClear_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<int> countsAtClear_;
};

// One main window on a simulated bay, with the settings in a map.
class Window {
public:
    explicit Window(std::vector<SimDriveConfig> drives) {
        auto bay = std::make_unique<os::sim::SimDriveBay>(std::move(drives));
        bay_ = bay.get();
        platform_.drives = std::move(bay);
        platform_.system = std::make_unique<os::sim::SimSystem>();
        dialog = std::make_unique<PlotWatchingMeltrick>(
            host, platform_,
            [this](const std::string& key, int def) {
                auto it = settings.find(key);
                return it == settings.end() ? static_cast<std::uint32_t>(def) : it->second;
            },
            [this](const std::string& key, int value) {
                written[key] = value;
                return true;
            });
        host.windowProc = [this](std::uint32_t m, WParam w, LParam l) {
            return dialog->WindowProc(m, w, l);
        };
    }

    // Opens the window as start-up does: the first size message, then the initialisation.
    void Open() {
        dialog->WindowProc(kWmSize, 0, 0);
        ASSERT_TRUE(dialog->OnInitDialog());
    }
    // Presses Start Test with the answer to the confirmation and waits for the worker.
    void RunTest(int answer = kIdYes) {
        host.answers.push_back(answer);
        host.Click(kIdcStartTest);
        dialog->RunControl().WaitForWorker();
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const testing::ShownBox& b : host.Boxes())
            texts.push_back(b.text);
        return texts;
    }
    os::sim::SimDrive& Drive(const std::string& name) { return *bay_->Drive(name); }

    std::map<std::string, std::uint32_t> settings;
    std::map<std::string, int> written;
    HeadlessDialogHost host;
    std::unique_ptr<PlotWatchingMeltrick> dialog;

private:
    os::sim::SimDriveBay* bay_ = nullptr;
    os::Platform platform_;
};

// Position of the first event equal to e (the events' size when absent).
std::size_t IndexOf(const std::vector<std::string>& events, const std::string& e) {
    return static_cast<std::size_t>(std::find(events.begin(), events.end(), e) - events.begin());
}

void ExpectPanelReads(const HeadlessDialogHost& host, const std::string& text) {
    for (const PanelField& f : CDriveState::PanelFields())
        EXPECT_EQ(host.Text(f.id), text) << f.caption;
}

TEST(MainDialog, OpensWithTwoDrivesAndFillsThePanelOnlyWhenTimerOneFires) {
    Window w({BayDrive("E:", 8'000'000'000), BayDrive("F:", 16'000'000'000)});
    EXPECT_EQ(w.host.CheckedRadio(), 0); // before the first drive list: no radio selected
    EXPECT_EQ(w.dialog->TestMode(), -1);
    w.Open();

    ASSERT_EQ(w.host.ComboLines().size(), 2u);
    EXPECT_EQ(w.host.ComboLines()[0].rfind("(E:)", 0), 0u);
    EXPECT_EQ(w.host.ComboLines()[1].rfind("(F:)", 0), 0u);
    EXPECT_EQ(w.host.ComboSelection(), 0);
    EXPECT_EQ(w.host.CheckedRadio(), kIdcQuickTest);
    EXPECT_TRUE(w.host.Enabled(kIdcStartTest));
    EXPECT_FALSE(w.host.Enabled(kIdcStopTest));
    EXPECT_EQ(w.host.Text(kIdcStatus), "");
    // Until timer 1 fires, the panel still reads "---".
    EXPECT_EQ(w.host.Timers(), std::set<int>{kDriveSelectTimer});
    ExpectPanelReads(w.host, kNoValueText);
    const auto opened = w.host.Events();
    EXPECT_LT(IndexOf(opened, "combo select 0"), IndexOf(opened, "timer 1 100"));

    ASSERT_TRUE(w.host.FireTimer(kDriveSelectTimer));
    EXPECT_TRUE(w.host.Timers().empty()); // it fires once
    EXPECT_FALSE(w.host.FireTimer(kDriveSelectTimer));
    EXPECT_EQ(w.host.Text(kIdcDriveLetter), "E:");
    EXPECT_EQ(w.host.Text(kIdcMaxSize), FormatSizeDecimal(8'000'000'000ULL));
    EXPECT_EQ(w.host.Text(kIdcBrand), "Generic");
    const auto events = w.host.Events();
    EXPECT_LT(IndexOf(events, "timer 1 100"), IndexOf(events, "text 1583 E:"));

    // Every control that the table moves sits at its final position; the status line stays.
    for (const DialogControl& c : MainDialogTemplate().controls)
        EXPECT_EQ(w.host.MovedTo(c.id), c.finalPosition) << c.id;
    EXPECT_EQ(w.host.Window(kIdcGraph)->sizedWidth, 506);
    EXPECT_EQ(w.host.Window(kIdcGraph)->sizedHeight, 485);
    EXPECT_EQ(w.host.WindowSize(), (std::pair<int, int>{830, 622}));
    EXPECT_EQ(w.host.Icons(), std::vector<int>{kIdrMainFrame});
}

TEST(MainDialog, ArialFourteenIsMadeOnceInTheLifeOfTheProcess) {
    Window first({BayDrive("E:", 8'000'000'000)});
    first.Open();
    // An earlier window of this process may have made it already; then no window gets it.
    if (first.dialog->Font() != 0) {
        EXPECT_EQ(first.host.fonts_, (std::vector<std::pair<int, std::string>>{{14, "Arial"}}));
        for (int id : first.host.ControlIds())
            EXPECT_EQ(first.host.FontOf(id), first.dialog->Font()) << id;
    }
    Window second({BayDrive("E:", 8'000'000'000)});
    second.Open();
    EXPECT_EQ(second.dialog->Font(), 0u);
    EXPECT_TRUE(second.host.fonts_.empty());
    EXPECT_EQ(second.host.FontOf(kIdcStartTest), 0u);
    // The font is released with its window.
    const FontHandle font = first.dialog->Font();
    first.dialog.reset();
    if (font != 0) {
        EXPECT_EQ(first.host.deletedFonts, std::vector<FontHandle>{font});
    }
}

TEST(MainDialog, OpensWithoutARemovableDrive) {
    SimDriveConfig fixed = BayDrive("C:", 8'000'000'000);
    fixed.type = os::kDriveFixed;
    Window w({fixed});
    w.Open();
    EXPECT_EQ(w.host.Text(kIdcStatus), kNoRemovableDrivesText);
    EXPECT_FALSE(w.host.Enabled(kIdcStartTest));
    EXPECT_FALSE(w.host.Enabled(kIdcStopTest));
    EXPECT_TRUE(w.host.ComboLines().empty());
    EXPECT_TRUE(w.host.Timers().empty());
    ExpectPanelReads(w.host, kNoValueText);
    const auto events = w.host.Events();
    EXPECT_LT(IndexOf(events, "disable 1584"),
              IndexOf(events, std::string("text 1665 ") + kNoRemovableDrivesText));
    EXPECT_TRUE(w.host.Boxes().empty());
}

TEST(MainDialog, SystemMenuOpensTheAboutBox) {
    Window w({BayDrive("E:", 8'000'000'000)});
    w.Open();
    const auto menu = w.host.SystemMenu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_TRUE(menu[0].separator);
    EXPECT_EQ(menu[1].text, "&About Corvane...");
    EXPECT_EQ(menu[1].command, 16u);
    // The low four bits are the system's own.
    EXPECT_TRUE(w.dialog->WindowProc(kWmSysCommand, 16 | 0x3, 0));
    ASSERT_EQ(w.host.modals.size(), 1u);
    EXPECT_EQ(w.host.modals[0]->Text(kIdcAboutTitle), "Corvane V1.0");
    EXPECT_EQ(w.host.modals[0]->caption, "About");
    // Close, move and the rest are left to the framework.
    EXPECT_FALSE(w.dialog->WindowProc(kWmSysCommand, 0xF060, 0));
    EXPECT_EQ(w.host.modals.size(), 1u);

    // No system menu, or an empty string 101: no item, and nothing said.
    Window bare({BayDrive("E:", 8'000'000'000)});
    bare.host.hasSystemMenu = false;
    bare.Open();
    EXPECT_TRUE(bare.host.SystemMenu().empty());
    Window unnamed({BayDrive("E:", 8'000'000'000)});
    unnamed.host.strings.clear();
    unnamed.Open();
    EXPECT_TRUE(unnamed.host.SystemMenu().empty());
    EXPECT_TRUE(unnamed.host.Boxes().empty());
}

TEST(MainDialog, TheWindowKeepsItsSizeWhateverTheCaption) {
    const std::pair<int, int> cases[] = {{40, 605}, {22, 622}, {35, 600}, {34, 634}};
    for (auto [caption, height] : cases) {
        Window w({});
        w.host.captionHeight = caption;
        EXPECT_FALSE(w.dialog->WindowProc(kWmSize, 2, 0)); // maximised: the default follows
        EXPECT_EQ(w.host.WindowSize(), (std::pair<int, int>{830, height})) << caption;
    }
}

TEST(MainDialog, MapColoursFromTheSettingsWithTheFineGridAtHalfStrength) {
    const struct {
        std::optional<std::uint32_t> frame;
        Colour fine;
    } cases[] = {{std::nullopt, 0x00363636}, {0x00FF8041u, 0x007F4020}};
    for (const auto& c : cases) {
        Window w({});
        if (c.frame)
            w.settings[kGraphFgColor] = *c.frame;
        w.settings[kGraphBgColor] = 0x00102030;
        w.Open();
        auto* screen = w.host.Window(kIdcGraph);
        w.dialog->Graph().WindowProc(kWmPaint, 0, 0);
        const auto& pixels = screen->screen.Pixels();
        auto count = [&](Colour colour) {
            return std::count(pixels.begin(), pixels.end(), colour);
        };
        EXPECT_GT(count(c.frame.value_or(7171437)), 0);
        EXPECT_GT(count(c.fine), 0);
        EXPECT_GT(count(0x00102030), 0);
    }
}

TEST(MainDialog, StartOnADriveWithoutSectorsAndDecliningTheConfirmation) {
    Window w({BayDrive("E:", 0), BayDrive("F:", 8'000'000'000)});
    w.Open();
    w.host.FireTimer(kDriveSelectTimer);
    w.RunTest();
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{kZeroSectorsText});
    EXPECT_TRUE(w.host.Enabled(kIdcStartTest));
    EXPECT_FALSE(w.host.Enabled(kIdcStopTest));
    EXPECT_TRUE(w.host.EventsOf("text 1591").empty()); // no field was touched

    w.host.SelectComboLine(1);
    w.host.answers.clear();
    w.RunTest(kIdNo);
    EXPECT_EQ(w.BoxTexts(), (std::vector<std::string>{kZeroSectorsText, kConfirmText}));
    EXPECT_EQ(w.host.Boxes()[1].caption, kConfirmCaption);
    EXPECT_EQ(w.host.Boxes()[1].style, kMbYesNo | kMbIconExclamation);
    for (int id : {kIdcTestingSector, kIdcSectorsRemaining, kIdcAmountTested, kIdcAmountRemaining})
        EXPECT_EQ(w.host.Text(id), "0") << id;
    EXPECT_TRUE(w.host.Enabled(kIdcStartTest));
    EXPECT_FALSE(w.host.Enabled(kIdcStopTest));
    EXPECT_EQ(w.Drive("F:").OpenHandles(), 0);
    EXPECT_FALSE(w.dialog->RunControl().LastOutcome().has_value());
}

TEST(MainDialog, QuickTestOfAWrappingFakeThroughTheWindow) {
    Window w({BayDrive("D:", 8'000'000'000), [] {
                  SimDriveConfig c = BayDrive("E:", 16'000'000'000);
                  c.real = 8 * kGiB;
                  c.beyond = Beyond::Wrap;
                  return c;
              }()});
    w.Open();
    w.host.FireTimer(kDriveSelectTimer);
    w.host.SelectComboLine(1);
    ASSERT_EQ(w.host.Text(kIdcDriveLetter), "E:");
    std::atomic<bool> stopEnabledDuringRun{false};
    w.host.onProgressPos = [&](int) {
        if (w.host.Enabled(kIdcStopTest) && !w.host.Enabled(kIdcStartTest))
            stopEnabledDuringRun.store(true);
    };
    w.RunTest();

    EXPECT_EQ(w.dialog->RunControl().LastOutcome(), SizeTestOutcome::FailureReported);
    EXPECT_EQ(w.BoxTexts(), (std::vector<std::string>{
                                kConfirmText, "Verify Failure at 0.00 B The firstsector has been "
                                              "overwritten. Real size is probably 8.00 GB"}));
    EXPECT_TRUE(stopEnabledDuringRun.load());
    // The write pass: 119 blocks of 75 plots; the verify pass fails at its first block.
    EXPECT_EQ(w.dialog->CountsAtClear(), std::vector<int>{8925});
    EXPECT_LT(w.dialog->Graph().PlotCount(), 8925);

    const auto events = w.host.Events();
    const std::size_t written = IndexOf(events, std::string("text 1227 ") + kAmountWrittenLabel);
    const std::size_t writing = IndexOf(events, std::string("text 1225 ") + kWritingSectorLabel);
    const std::size_t verified = IndexOf(events, std::string("text 1227 ") + kAmountVerifiedLabel);
    const std::size_t verifying =
        IndexOf(events, std::string("text 1225 ") + kVerifyingSectorLabel);
    ASSERT_LT(verifying, events.size());
    EXPECT_LT(written, verified);
    EXPECT_LT(writing, verifying);
    EXPECT_LT(IndexOf(events, "bar " + ProgressText(TestPass::Write, 99)),
              IndexOf(events, "bar " + ProgressText(TestPass::Verify, 0)));
    EXPECT_LT(verifying, IndexOf(events, "box " + w.BoxTexts()[1]));
    // Every block of the write pass moved the bar, the first to position 1.
    const auto bars = w.host.EventsOf("bar Writing Data");
    EXPECT_EQ(bars.size(), 119u);
    // The selection emptied the bar; the run's first block fills it to 1, its last write to 100.
    std::vector<std::string> runPositions;
    for (std::size_t i = IndexOf(events, std::string("box ") + kConfirmText); i < events.size();
         ++i)
        if (events[i].rfind("pos ", 0) == 0)
            runPositions.push_back(events[i]);
    ASSERT_EQ(runPositions.size(), 120u); // 119 written blocks, then the end of the run
    EXPECT_EQ(runPositions.front(), "pos 1");
    EXPECT_EQ(runPositions[118], "pos 100");
    EXPECT_EQ(runPositions[119], "pos 100");
    EXPECT_EQ(w.host.EventsOf("bar ").back(), std::string("bar ") + kAllComplete);
    EXPECT_EQ(w.host.Text(kIdcTestingSector), "0"); // the verify pass's first block
    // The buttons are reset after the message, and the volume is released.
    EXPECT_LT(IndexOf(events, "box " + w.BoxTexts()[1]), IndexOf(events, "enable 1584"));
    EXPECT_TRUE(w.host.Enabled(kIdcStartTest));
    EXPECT_FALSE(w.host.Enabled(kIdcStopTest));
    EXPECT_EQ(w.Drive("E:").OpenHandles(), 0);
    EXPECT_TRUE(w.host.Formatted().empty()); // a failure offers no format
}

// The worker holds in the write pass at 20% until the test thread has acted.
struct HoldAtTwentyPercent {
    explicit HoldAtTwentyPercent(Window& w, std::atomic<int>& release) {
        w.host.onProgressPos = [&w, &release, this](int position) {
            if (position < 21 || reached.exchange(true))
                return;
            (void)w;
            while (release.load() == 0)
                std::this_thread::yield();
        };
    }
    std::atomic<bool> reached{false};
};

TEST(MainDialog, StopDuringTheWritePass) {
    Window w({BayDrive("E:", 16'000'000'000)});
    w.Open();
    w.host.FireTimer(kDriveSelectTimer);
    std::atomic<int> release{0};
    HoldAtTwentyPercent hold(w, release);
    w.host.answers = {kIdYes, kIdNo}; // run, then no format
    w.host.Click(kIdcStartTest);
    while (!hold.reached.load())
        std::this_thread::yield();
    w.host.Click(kIdcStopTest);
    EXPECT_FALSE(w.host.Enabled(kIdcStopTest));
    release.store(1);
    w.dialog->RunControl().WaitForWorker();
    EXPECT_EQ(w.dialog->RunControl().LastOutcome(), SizeTestOutcome::Aborted);
    EXPECT_EQ(w.BoxTexts(), (std::vector<std::string>{kConfirmText, kAbortVerdict}));
    EXPECT_TRUE(w.host.EventsOf(std::string("text 1225 ") + kVerifyingSectorLabel).empty());
    EXPECT_EQ(w.host.EventsOf("bar ").back(), std::string("bar ") + kAllComplete);
    EXPECT_TRUE(w.host.Enabled(kIdcStartTest));
    EXPECT_EQ(w.Drive("E:").OpenHandles(), 0);
}

TEST(MainDialog, ADeviceChangeDuringARunLeavesTheRunOnItsDrive) {
    Window w({BayDrive("E:", 16'000'000'000), BayDrive("F:", 8'000'000'000)});
    w.Open();
    w.host.FireTimer(kDriveSelectTimer);
    std::atomic<int> release{0};
    HoldAtTwentyPercent hold(w, release);
    w.host.answers = {kIdYes, kIdNo};
    w.host.Click(kIdcStartTest);
    while (!hold.reached.load())
        std::this_thread::yield();
    // A device arrives: the list is rebuilt, timer 1 selects line 0 again, then the user picks F:.
    w.dialog->WindowProc(kWmDeviceChange, kDbtDevNodesChanged, 0);
    EXPECT_EQ(w.host.ComboLines().size(), 2u);
    EXPECT_FALSE(w.host.Enabled(kIdcStartTest)); // no second run on top of the first
    w.host.FireTimer(kDriveSelectTimer);
    w.host.SelectComboLine(1);
    EXPECT_EQ(w.host.Text(kIdcDriveLetter), "F:");
    release.store(1);
    w.dialog->RunControl().WaitForWorker();
    EXPECT_EQ(w.dialog->RunControl().LastOutcome(), SizeTestOutcome::Genuine);
    EXPECT_EQ(w.BoxTexts(), (std::vector<std::string>{kConfirmText, kGenuineVerdict}));
    EXPECT_EQ(w.Drive("E:").OpenHandles(), 0);
    // Another message (any other wParam) leaves the list alone.
    const auto before = w.host.EventsOf("combo reset").size();
    w.dialog->WindowProc(kWmDeviceChange, 0x8000, 0);
    EXPECT_EQ(w.host.EventsOf("combo reset").size(), before);
}

TEST(MainDialog, ClosingDuringARunStopsItAndShowsNothingAfterwards) {
    Window w({BayDrive("E:", 16'000'000'000)});
    w.Open();
    w.host.FireTimer(kDriveSelectTimer);
    std::atomic<int> release{0};
    HoldAtTwentyPercent hold(w, release);
    w.host.answers = {kIdYes, kIdYes}; // a format offer would be accepted: none must come
    w.host.Click(kIdcStartTest);
    while (!hold.reached.load())
        std::this_thread::yield();
    // The worker waits until the run flag is clear, as one at its next block would see it.
    std::thread releaser([&] {
        while (w.dialog->RunControl().m_bTestRunning.load() != 0)
            std::this_thread::yield();
        release.store(1);
    });
    // OnClose only asks the worker to stop: a host whose worker waits for the dialog's thread
    // would deadlock if it waited there. The host waits once the dialog has ended, as here.
    w.dialog->WindowProc(kWmClose, 0, 0);
    EXPECT_TRUE(w.host.EndResult().has_value());
    ASSERT_TRUE(w.dialog->RunControl().WaitForWorker(std::chrono::seconds(20)));
    releaser.join();
    EXPECT_FALSE(w.dialog->RunControl().WorkerActive());
    EXPECT_EQ(w.Drive("E:").OpenHandles(), 0);
    EXPECT_EQ(w.host.EndResult(), 0);
    EXPECT_FALSE(w.host.Enabled(kIdcStopTest));
    EXPECT_TRUE(w.host.ComboLines().empty());
    EXPECT_TRUE(w.dialog->DriveState().m_DeviceList.empty());
    EXPECT_EQ(w.dialog->RunControl().LastOutcome(), SizeTestOutcome::Aborted);
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{kConfirmText});
    EXPECT_TRUE(w.host.Formatted().empty());
    // The combo was emptied last line first, then reset.
    const auto deletes = w.host.EventsOf("combo delete");
    EXPECT_EQ(deletes, std::vector<std::string>{"combo delete 0"});
    w.dialog.reset();
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{kConfirmText});
}

TEST(MainDialog, EndingWithoutOnCloseDuringARunStillWaitsForTheWorker) {
    Window w({BayDrive("E:", 16'000'000'000)});
    w.Open();
    w.host.FireTimer(kDriveSelectTimer);
    std::atomic<int> release{0};
    HoldAtTwentyPercent hold(w, release);
    w.host.answers = {kIdYes};
    w.host.Click(kIdcStartTest);
    while (!hold.reached.load())
        std::this_thread::yield();
    // The releaser is done before the worker can end, so before the dialog is gone.
    CTestRunControl& control = w.dialog->RunControl();
    std::thread releaser([&] {
        while (control.m_bTestRunning.load() != 0)
            std::this_thread::yield();
        release.store(1);
    });
    w.dialog.reset(); // Escape: the framework's Cancel, then destruction
    releaser.join();
    EXPECT_EQ(w.Drive("E:").OpenHandles(), 0);
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{kConfirmText});
}

TEST(MainDialog, FullTestRadioThenQuickAgainBeforeStart) {
    Window w({BayDrive("E:", 16'000'000'000)});
    w.Open();
    w.host.FireTimer(kDriveSelectTimer);
    w.host.Click(kIdcFullTest);
    EXPECT_EQ(w.dialog->TestMode(), 1);
    EXPECT_EQ(w.dialog->RunControl().m_nTestMode.load(), 1);
    w.host.Click(kIdcQuickTest);
    EXPECT_EQ(w.dialog->TestMode(), 0);
    w.RunTest();
    EXPECT_EQ(w.dialog->RunControl().LastOutcome(), SizeTestOutcome::Genuine);
    // A quick pass over 16 GB: 119 blocks.
    EXPECT_EQ(w.host.EventsOf("bar Writing Data").size(), 119u);
}

} // namespace
} // namespace corvane
