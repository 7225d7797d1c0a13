#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "support/png_read.h"
#include "support/recording_control_window.h"
#include "ui/controls/hdd_graph_static.h"
#ifdef CORVANE_HAS_PNG_FILE
#include "canvas/png_file.h"
#endif

namespace corvane {
namespace {

using testing::RecordingControlWindow;

constexpr int kWidth = CHddGraphStatic::kPictureWidth;
constexpr int kHeight = CHddGraphStatic::kPictureHeight;
constexpr Colour kScreen = 0x00FF00FF; // never drawn by the map
// The grid colours as the main window sets them from the default settings.
constexpr Colour kFrame = 0x006D6D6D;
constexpr Colour kFine = 0x00363636;
constexpr Colour kBackground = 0x00000000;
constexpr Colour kWhite = CHddGraphStatic::kWrittenPlotColour;
constexpr Colour kGreen = CHddGraphStatic::kVerifiedPlotColour;

// What the map shows at (x, y) of its 506 by 485 window, worked out from the picture's
// geometry: the plots lie over the grid, the frame and coarse grid over the fine grid.
Colour ExpectedPixel(int x, int y, int plots, Colour brush, Colour frame = kFrame,
                     Colour fine = kFine, Colour background = kBackground) {
    if (x >= kWidth || y >= kHeight)
        return kScreen;
    const bool inCellX = x % 5 != 0;
    const bool inCellY = y % 5 != 0;
    if (inCellX && inCellY) {
        const int column = x / 5;
        const int row = y / 5;
        if (column < 100 && row * 100 + column < plots)
            return brush;
    }
    if (x == 0 || y == 0 || x % 50 == 0 || y % 32 == 0 || x == kWidth - 1 || y == kHeight - 1)
        return frame;
    if (!inCellX || !inCellY)
        return fine;
    return background;
}

class MapTest : public ::testing::Test {
protected:
    // The window as the main window sizes it: 5 wider and 4 higher than the picture.
    RecordingControlWindow window{kWidth + 5, kHeight + 4, kScreen};
    CHddGraphStatic map;

    void SetUp() override {
        map.Attach(&window);
        map.SetGridColours(kFrame, kFine, kBackground);
    }
    void AddPlots(int count) {
        for (int i = 0; i < count; ++i)
            map.AddPlot();
    }
    void Paint() { EXPECT_EQ(map.WindowProc(kWmPaint, 0, 0), 0); }
    // Compares the whole window with ExpectedPixel; reports the first few differences only.
    void ExpectPicture(int plots, Colour brush, Colour frame = kFrame, Colour fine = kFine,
                       Colour background = kBackground) {
        int wrong = 0;
        for (int y = 0; y < window.screen.Height(); ++y)
            for (int x = 0; x < window.screen.Width(); ++x) {
                const Colour want = ExpectedPixel(x, y, plots, brush, frame, fine, background);
                if (window.screen.Pixel(x, y) != want && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << std::hex
                                  << window.screen.Pixel(x, y) << ", expected " << want;
            }
        EXPECT_EQ(wrong, 0) << "pixels differ with " << plots << " plots";
    }
};

TEST_F(MapTest, PlotsFillRowsOfAHundredFromTheTopLeft) {
    map.UseWriteBrush();
    int added = 0;
    for (int plots : {0, 1, 100, 101, 250, 9600, 9601}) {
        AddPlots(plots - added);
        added = plots;
        Paint();
        SCOPED_TRACE(plots);
        ExpectPicture(plots, kWhite);
    }
}

TEST_F(MapTest, TheFirstPlotsLieInsideTheirCellsWithoutTouchingTheGrid) {
    // The geometry itself, apart from the model above: plot 1 covers (1,1)-(4,4) and plot 101
    // starts the second row at y 6 to 9.
    map.UseWriteBrush();
    AddPlots(101);
    Paint();
    const SoftwareCanvas& s = window.screen;
    for (int y = 1; y <= 4; ++y)
        for (int x = 1; x <= 4; ++x) {
            EXPECT_EQ(s.Pixel(x, y), kWhite);
            EXPECT_EQ(s.Pixel(x, y + 5), kWhite);
        }
    EXPECT_EQ(s.Pixel(5, 1), kFine);
    EXPECT_EQ(s.Pixel(1, 5), kFine);
    EXPECT_EQ(s.Pixel(6, 6), kBackground); // plot 102 is not there
    EXPECT_EQ(s.Pixel(496, 1), kWhite);    // plot 100 ends the first row
    EXPECT_EQ(s.Pixel(499, 4), kWhite);
    EXPECT_EQ(s.Pixel(500, 2), kFrame);
}

TEST_F(MapTest, PlotsPastNinetySixRowsLieBelowThePicture) {
    map.UseWriteBrush();
    AddPlots(9601);
    Paint();
    for (int y = kHeight; y < window.screen.Height(); ++y)
        for (int x = 0; x < window.screen.Width(); ++x)
            ASSERT_EQ(window.screen.Pixel(x, y), kScreen) << x << "," << y;
    EXPECT_EQ(window.screen.Pixel(476, 476), kWhite); // plot 9600, the last that shows
    EXPECT_EQ(map.PlotCount(), 9601);
}

TEST_F(MapTest, AFreshMapHasItsOwnColoursAndTheVerifyBrush) {
    CHddGraphStatic fresh;
    fresh.Attach(&window);
    fresh.AddPlot();
    fresh.WindowProc(kWmPaint, 0, 0);
    ExpectPicture(1, kGreen, 0x0000FF00, 0x00008400, 0x00000000);
    EXPECT_EQ(fresh.SpeedColour(), 0x0000FFFFu);
    EXPECT_EQ(fresh.SecondColour(), 0x0000FF00u);
    fresh.SetSpeedColour(0x123456);
    fresh.SetSecondColour(0x654321);
    EXPECT_EQ(fresh.SpeedColour(), 0x123456u);
    EXPECT_EQ(fresh.SecondColour(), 0x654321u);
}

TEST_F(MapTest, SwitchingTheBrushRecoloursEveryCountedPlot) {
    map.UseWriteBrush();
    AddPlots(250);
    Paint();
    ExpectPicture(250, kWhite);
    map.UseVerifyBrush();
    Paint();
    ExpectPicture(250, kGreen);
    // The verify pass begins: the map empties and refills in green.
    map.ClearPlots();
    AddPlots(3);
    Paint();
    ExpectPicture(3, kGreen);
}

TEST_F(MapTest, OnlyTheOperationsThatShowSomethingAskForARepaint) {
    struct Case {
        const char* name;
        void (*operation)(CHddGraphStatic&);
        int repaints;
    } cases[] = {
        {"ResetMap", [](CHddGraphStatic& m) { m.ResetMap(); }, 1},
        {"SetGridColours", [](CHddGraphStatic& m) { m.SetGridColours(1, 2, 3); }, 1},
        {"SetSpeedColour", [](CHddGraphStatic& m) { m.SetSpeedColour(1); }, 1},
        {"SetSecondColour", [](CHddGraphStatic& m) { m.SetSecondColour(1); }, 1},
        {"Refresh", [](CHddGraphStatic& m) { m.Refresh(); }, 1},
        {"ClearPlots", [](CHddGraphStatic& m) { m.ClearPlots(); }, 0},
        {"UseWriteBrush", [](CHddGraphStatic& m) { m.UseWriteBrush(); }, 0},
        {"UseVerifyBrush", [](CHddGraphStatic& m) { m.UseVerifyBrush(); }, 0},
        {"AddPlot", [](CHddGraphStatic& m) { m.AddPlot(); }, 0},
        {"SetMapSize", [](CHddGraphStatic& m) { m.SetMapSize(501, 480); }, 0},
    };
    for (const Case& c : cases) {
        const int before = window.Repaints();
        c.operation(map);
        EXPECT_EQ(window.Repaints() - before, c.repaints) << c.name;
    }
    EXPECT_EQ(window.paints, 0); // no operation paints by itself
    EXPECT_EQ(window.sizedWidth, 506);
    EXPECT_EQ(window.sizedHeight, 485);
}

TEST_F(MapTest, CountsAndResetsAndAnUnattachedMapStillCounts) {
    AddPlots(5);
    EXPECT_EQ(map.PlotCount(), 5);
    map.ResetMap();
    EXPECT_EQ(map.PlotCount(), 0);
    CHddGraphStatic unattached;
    unattached.AddPlot();
    unattached.Refresh();
    unattached.ResetMap();
    EXPECT_EQ(unattached.PlotCount(), 0);
}

TEST_F(MapTest, EraseDrawsNothingAndPaintingIsOffScreenInOneCopy) {
    EXPECT_NE(map.WindowProc(kWmEraseBkgnd, 0, 0), 0);
    for (Colour c : window.screen.Pixels())
        ASSERT_EQ(c, kScreen);
    Paint();
    EXPECT_EQ(window.paints, 1);
    EXPECT_EQ(window.directDraws, 0);
    EXPECT_EQ(window.offscreens, 1);
    // Other messages are the static control's.
    window.defaultResult = 77;
    EXPECT_EQ(map.WindowProc(0x0084, 1, 2), 77);
    ASSERT_EQ(window.passedOn.size(), 1u);
    EXPECT_EQ(window.passedOn[0].message, 0x0084u);
}

TEST_F(MapTest, TheWorkerAddsPlotsWhileTheWindowPaints) {
    map.UseWriteBrush();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int group = 0; group < 90; ++group) {
            AddPlots(100);
            map.Refresh();
        }
        done = true;
    });
    while (!done)
        Paint();
    worker.join();
    Paint();
    ExpectPicture(9000, kWhite);
    EXPECT_EQ(window.invalidations.load(), 1 + 90); // SetGridColours, then each Refresh
}

TEST_F(MapTest, TheWritePassPictureWithTwoHundredAndFiftyPlotsAsPng) {
#ifdef CORVANE_HAS_PNG_FILE
    map.UseWriteBrush();
    AddPlots(250);
    // The picture alone, 501 by 481, without the window's undrawn strip.
    SoftwareCanvas picture(kWidth, kHeight, kScreen);
    map.OnPaint(picture);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(picture.Pixel(x, y), ExpectedPixel(x, y, 250, kWhite)) << x << "," << y;

    const std::string path = (std::filesystem::path(CORVANE_PICTURE_DIR) / "test-map.png").string();
    ASSERT_TRUE(WritePng(picture, path));
    std::optional<SoftwareCanvas> read = testing::ReadPng(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Width(), kWidth);
    EXPECT_EQ(read->Height(), kHeight);
    EXPECT_EQ(read->Pixels(), picture.Pixels());
#else
    GTEST_SKIP() << "this build writes no PNG files";
#endif
}

} // namespace
} // namespace corvane
