#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "support/recording_control_window.h"
#include "ui/controls/my_mem_dc.h"
#include "ui/controls/text_progress_ctrl.h"

namespace corvane {
namespace {

using testing::RecordingControlWindow;

constexpr Colour kHighlight = 0x00D77800; // the window's COLOR_HIGHLIGHT
constexpr Colour kWindow = 0x00FFFFFF;    // and COLOR_WINDOW
constexpr Colour kScreen = 0x00FF00FF;
constexpr FontHandle kParentFont = 0x5150;

LParam MakeLParam(int low, int high) {
    return static_cast<LParam>((static_cast<std::uint32_t>(high) << 16) |
                               (static_cast<std::uint32_t>(low) & 0xFFFF));
}
LParam Ptr(const void* p) {
    return reinterpret_cast<LParam>(p);
}

class ProgressTest : public ::testing::Test {
protected:
    // A horizontal bar 200 pixels wide, range 0 to 100 as the main window sets it.
    RecordingControlWindow window{200, 20, kScreen};
    CTextProgressCtrl bar;

    void SetUp() override {
        window.parentFont = kParentFont;
        bar.Attach(&window);
        Send(kPbmSetRange, 0, MakeLParam(0, 100));
    }
    LResult Send(std::uint32_t message, WParam wParam = 0, LParam lParam = 0) {
        return bar.WindowProc(message, wParam, lParam);
    }
    LResult SetPos(int position) { return Send(kPbmSetPos, static_cast<WParam>(position)); }
    void Paint() { EXPECT_EQ(Send(kWmPaint), 0); }

    // The filled length along row y, checked pixel by pixel: filled in bar, the rest in
    // background.
    void ExpectFill(int length, Colour barColour = kHighlight, Colour background = kWindow) {
        for (int y = 0; y < window.screen.Height(); ++y)
            for (int x = 0; x < window.screen.Width(); ++x)
                ASSERT_EQ(window.screen.Pixel(x, y), x < length ? barColour : background)
                    << x << "," << y;
    }
    // The text as drawn: every column of the bar carries it exactly once, in the colour that
    // shows there, drawn in the whole bar with the parent's font.
    void ExpectText(const std::string& text, int split, Colour left, Colour right) {
        const auto& draws = window.screen.TextDraws();
        ASSERT_EQ(draws.size(), 2u);
        for (const TextDraw& d : draws) {
            EXPECT_EQ(d.text, text);
            EXPECT_EQ(d.rect, (Rect{0, 0, 200, 20}));
            EXPECT_EQ(d.font, kParentFont);
        }
        for (int x = 0; x < 200; ++x) {
            int shown = 0;
            Colour colour = 0;
            for (const TextDraw& d : draws)
                if (d.clip.Contains(x, 10)) {
                    ++shown;
                    colour = d.colour;
                }
            ASSERT_EQ(shown, 1) << "column " << x;
            ASSERT_EQ(colour, x < split ? left : right) << "column " << x;
        }
    }
};

TEST_F(ProgressTest, FillsAndSplitsTheTextWhereTheFilledPartEnds) {
    struct Case {
        int position;
        Colour textColour; // kClrDefault: the two colours
        int fill;
        const char* text;
        Colour left, right;
    } cases[] = {
        {42, kClrDefault, 84, "42 % Complete", kWindow, kHighlight},
        {0, kClrDefault, 0, "0 % Complete", kWindow, kHighlight},
        {100, kClrDefault, 200, "100 % Complete", kWindow, kHighlight},
        {42, 0x000000FF, 84, "42 % Complete", 0x000000FF, 0x000000FF},
        // Shares that are whole come out whole, though 0.29 and 0.57 are not exact.
        {29, kClrDefault, 58, "29 % Complete", kWindow, kHighlight},
        {57, kClrDefault, 114, "57 % Complete", kWindow, kHighlight},
        // Past the end the bar is full and says so.
        {150, kClrDefault, 200, "150 % Complete", kWindow, kHighlight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        window.screen = SoftwareCanvas(200, 20, kScreen);
        Send(kTpcSetTextColor, 0, static_cast<LParam>(c.textColour));
        SetPos(c.position);
        Paint();
        ExpectFill(c.fill);
        ExpectText(c.text, c.fill, c.left, c.right);
    }
}

TEST_F(ProgressTest, DrawsTheOwnersTextAndTheColoursSetOrTheSystemsAtEachPaint) {
    Send(kWmSetText, 0, Ptr("Writing Data 42% Complete"));
    SetPos(42);
    Send(kPbmSetBarColor, 0, 0x00112233);
    Paint();
    ExpectFill(84, 0x00112233, kWindow);
    ExpectText("Writing Data 42% Complete", 84, kWindow, 0x00112233);

    // Back to the defaults, which follow the system's colours as they are at the paint.
    Send(kPbmSetBarColor, 0, static_cast<LParam>(kClrDefault));
    Send(kPbmSetBkColor, 0, 0x00000001);
    window.systemColours[kColorHighlight] = 0x00445566;
    window.screen = SoftwareCanvas(200, 20, kScreen);
    Paint();
    ExpectFill(84, 0x00445566, 0x00000001);
    ExpectText("Writing Data 42% Complete", 84, 0x00000001, 0x00445566);
}

TEST_F(ProgressTest, AnEmptyRangeDrawsNothingAndEndsItsPaint) {
    for (int bound : {5, 4}) { // lower = upper, then lower above upper
        Send(kPbmSetRange32, 5, bound);
        SetPos(5);
        const int paintsBefore = window.paints;
        const int repaintsBefore = window.Repaints();
        Paint();
        EXPECT_EQ(window.paints, paintsBefore + 1); // begun and ended: the window is valid
        EXPECT_EQ(window.Repaints(), repaintsBefore);
        for (Colour c : window.screen.Pixels())
            ASSERT_EQ(c, kScreen);
        EXPECT_TRUE(window.screen.TextDraws().empty());
    }
}

TEST_F(ProgressTest, APositionRepaintsAtOnceOnlyWhenTheFillLengthChanges) {
    Send(kPbmSetRange32, 0, 1000); // 5 positions to the pixel
    EXPECT_EQ(SetPos(420), 0);     // 84 pixels, the first fill: repaint
    EXPECT_EQ(window.redraws, 1);
    EXPECT_EQ(SetPos(424), 420); // still 84: stored, no repaint
    EXPECT_EQ(window.redraws, 1);
    EXPECT_EQ(Send(kPbmGetPos), 424);
    EXPECT_EQ(SetPos(425), 424); // 85
    EXPECT_EQ(window.redraws, 2);
    EXPECT_EQ(window.invalidations.load(), 0);

    // A new size forgets the last fill: the same fill length repaints again.
    window.defaultResult = 9;
    EXPECT_EQ(Send(kWmSize, 0, MakeLParam(200, 20)), 9);
    EXPECT_EQ(window.passedOn.back().message, kWmSize);
    SetPos(426);
    EXPECT_EQ(window.redraws, 3);
}

TEST_F(ProgressTest, StepsAndDeltasGoPastTheUpperEndWithoutWrapping) {
    EXPECT_EQ(Send(kPbmSetStep, 10), 1);
    SetPos(100);
    EXPECT_EQ(Send(kPbmStepIt), 100);
    EXPECT_EQ(Send(kPbmGetPos), 110);
    EXPECT_EQ(Send(kPbmStepIt), 110);
    EXPECT_EQ(Send(kPbmGetPos), 120);
    EXPECT_EQ(Send(kPbmDeltaPos, static_cast<WParam>(-30)), 120);
    EXPECT_EQ(Send(kPbmGetPos), 90);
    EXPECT_EQ(Send(kPbmSetStep, static_cast<WParam>(-2)), 10);
    Send(kPbmStepIt);
    EXPECT_EQ(Send(kPbmGetPos), 88);
    // At the end of int the sum wraps as the platform's arithmetic does, without overflow.
    SetPos(INT_MAX);
    Send(kPbmSetStep, 1);
    Send(kPbmStepIt);
    EXPECT_EQ(Send(kPbmGetPos), INT_MIN);
}

TEST_F(ProgressTest, ShowTextOffDrawsTheBarAlone) {
    const int before = window.invalidations.load();
    Send(kTpcShowText, 0);
    EXPECT_EQ(window.invalidations.load(), before + 1);
    Send(kTpcShowText, 0); // no change, no repaint
    EXPECT_EQ(window.invalidations.load(), before + 1);
    EXPECT_EQ(window.passedOn.back().message, kTpcShowText);
    SetPos(42);
    Paint();
    ExpectFill(84);
    EXPECT_TRUE(window.screen.TextDraws().empty());
}

TEST_F(ProgressTest, AVerticalBarFillsFromTheBottomAndShowsNoText) {
    RecordingControlWindow tall(20, 200, kScreen);
    tall.vertical = true;
    bar.Attach(&tall);
    SetPos(25);
    Send(kWmPaint);
    for (int y = 0; y < 200; ++y)
        ASSERT_EQ(tall.screen.Pixel(10, y), y >= 150 ? kHighlight : kWindow) << y;
    EXPECT_TRUE(tall.screen.TextDraws().empty());
}

TEST_F(ProgressTest, PaintsOffScreenAndCopiesOnlyTheAreaToRepaint) {
    SetPos(42);
    window.screen.SetClipBox({50, 0, 120, 20});
    Paint();
    EXPECT_EQ(window.directDraws, 0);
    EXPECT_EQ(window.offscreens, 1);
    window.screen.SetClipBox({0, 0, 200, 20});
    for (int x = 0; x < 200; ++x) {
        const Colour want = x < 50 || x >= 120 ? kScreen : x < 84 ? kHighlight : kWindow;
        ASSERT_EQ(window.screen.Pixel(x, 5), want) << x;
    }
    for (const TextDraw& d : window.screen.TextDraws()) {
        EXPECT_GE(d.clip.left, 50);
        EXPECT_LE(d.clip.right, 120);
    }
}

TEST_F(ProgressTest, RangeMessagesKeepBothEndsAndPassOn) {
    window.defaultResult = MakeLParam(0, 100);
    // The 16-bit ends are unsigned.
    EXPECT_EQ(Send(kPbmSetRange, 0, MakeLParam(0x10, 0xFFFF)), MakeLParam(0, 100));
    EXPECT_EQ(window.passedOn.back().message, kPbmSetRange);
    PbRange range{-1, -1};
    EXPECT_EQ(Send(kPbmGetRange, 1, Ptr(&range)), 0x10);
    EXPECT_EQ(range.iLow, 0x10);
    EXPECT_EQ(range.iHigh, 0xFFFF);
    EXPECT_EQ(Send(kPbmGetRange, 0, 0), 0xFFFF);

    EXPECT_EQ(Send(kPbmSetRange32, static_cast<WParam>(-50), 70000), MakeLParam(0, 100));
    EXPECT_EQ(Send(kPbmGetRange, 0, Ptr(&range)), 70000);
    EXPECT_EQ(range.iLow, -50);
    EXPECT_EQ(Send(kPbmGetRange, 1, 0), -50);
}

TEST_F(ProgressTest, ColourMessagesAnswerTheOldColourAndRepaint) {
    for (std::uint32_t message : {kPbmSetBarColor, kPbmSetBkColor, kTpcSetTextColor}) {
        SCOPED_TRACE(message);
        const int before = window.invalidations.load();
        EXPECT_EQ(static_cast<Colour>(Send(message, 0, 0x00010203)), kClrDefault);
        EXPECT_EQ(Send(message, 0, 0x00040506), 0x00010203);
        EXPECT_EQ(window.invalidations.load(), before + 2);
    }
}

TEST_F(ProgressTest, TextMessagesCopyAtMostTheBufferLessOne) {
    window.defaultResult = 1;
    const int before = window.invalidations.load();
    EXPECT_EQ(Send(kWmSetText, 0, Ptr("Verify 7% Complete")), 1);
    EXPECT_EQ(window.invalidations.load(), before + 1);
    EXPECT_EQ(window.passedOn.back().message, kWmSetText);

    struct Case {
        WParam size;
        LResult copied;
        const char* text;
    } cases[] = {{64, 18, "Verify 7% Complete"},
                 {19, 18, "Verify 7% Complete"},
                 {18, 17, "Verify 7% Complet"},
                 {2, 1, "V"},
                 {1, 0, ""}};
    for (const Case& c : cases) {
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(Send(kWmGetText, c.size, Ptr(buffer)), c.copied) << c.size;
        EXPECT_STREQ(buffer, c.text) << c.size;
    }
    // A buffer of no characters is left alone.
    char untouched = 'x';
    EXPECT_EQ(Send(kWmGetText, 0, Ptr(&untouched)), 0);
    EXPECT_EQ(untouched, 'x');

    // An empty text brings the percentage back.
    Send(kWmSetText, 0, Ptr(""));
    SetPos(42);
    Paint();
    ExpectText("42 % Complete", 84, kWindow, kHighlight);
}

TEST_F(ProgressTest, TheFontIsKeptAndReturnedButTheParentsDraws) {
    EXPECT_EQ(Send(kWmGetFont), 0);
    EXPECT_EQ(Send(kWmSetFont, 0x7001, 0), 0);
    EXPECT_EQ(window.redraws, 0);
    EXPECT_EQ(Send(kWmSetFont, 0x7002, 1), 0);
    EXPECT_EQ(window.redraws, 1);
    EXPECT_EQ(Send(kWmGetFont), 0x7002);
    SetPos(42);
    Paint();
    for (const TextDraw& d : window.screen.TextDraws())
        EXPECT_EQ(d.font, kParentFont);
}

TEST_F(ProgressTest, EraseDrawsNothingAndOtherMessagesGoToTheBar) {
    EXPECT_NE(Send(kWmEraseBkgnd), 0);
    for (Colour c : window.screen.Pixels())
        ASSERT_EQ(c, kScreen);
    window.defaultResult = 42;
    EXPECT_EQ(Send(0x0201, 3, 4), 42);
    EXPECT_EQ(window.passedOn.back().message, 0x0201u);
    EXPECT_EQ(window.passedOn.back().wParam, 3u);
    EXPECT_EQ(window.passedOn.back().lParam, 4);
}

TEST(Progress, WithoutAWindowAPositionIsRefused) {
    CTextProgressCtrl bar;
    EXPECT_EQ(bar.WindowProc(kPbmSetPos, 42, 0), -1);
    EXPECT_EQ(bar.WindowProc(kPbmGetPos, 0, 0), 0);
    EXPECT_EQ(bar.WindowProc(kWmPaint, 0, 0), 0);
}

TEST(Progress, ExtremeRangesAndPositionsStayWithinTheBar) {
    // Fractions far outside 0 to 1 and ranges whose width overflows int: the fill is clipped
    // to the bar and the text saturates instead of overflowing.
    struct Case {
        int lower, upper, position;
        int fill;
        const char* text;
    } cases[] = {
        {0, 1, INT_MAX, 200, "2147483647 % Complete"},
        {0, 1, INT_MIN, 0, "-2147483648 % Complete"},
        {INT_MIN, INT_MAX, 0, 100, "50 % Complete"},
        {INT_MIN, INT_MAX, INT_MAX, 200, "100 % Complete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RecordingControlWindow window(200, 20, kScreen);
        CTextProgressCtrl bar;
        bar.Attach(&window);
        bar.WindowProc(kPbmSetRange32, static_cast<WParam>(c.lower), c.upper);
        bar.WindowProc(kPbmSetPos, static_cast<WParam>(c.position), 0);
        bar.WindowProc(kWmPaint, 0, 0);
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(window.screen.Pixel(x, 0), x < c.fill ? kHighlight : kWindow) << x;
        ASSERT_FALSE(window.screen.TextDraws().empty());
        EXPECT_EQ(window.screen.TextDraws()[0].text, c.text);
    }
}

} // namespace
} // namespace corvane
