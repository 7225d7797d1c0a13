#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "canvas/software_canvas.h"
#include "support/png_read.h"
#include "support/temp_dir.h"
#ifdef CORVANE_HAS_PNG_FILE
#include "canvas/png_file.h"
#endif

namespace corvane {
namespace {

constexpr Colour kPaper = 0x00101010;
constexpr Colour kInk = 0x000000FF;

std::set<std::pair<int, int>> InkedPixels(const SoftwareCanvas& canvas) {
    std::set<std::pair<int, int>> inked;
    for (int y = canvas.Bounds().top; y < canvas.Bounds().bottom; ++y)
        for (int x = canvas.Bounds().left; x < canvas.Bounds().right; ++x)
            if (canvas.Pixel(x, y) == kInk)
                inked.insert({x, y});
    return inked;
}

TEST(SoftwareCanvasLine, DrawsTheStartPointAndStopsBeforeTheEnd) {
    struct Case {
        Point from, to;
        std::set<std::pair<int, int>> pixels;
    } cases[] = {
        {{1, 2}, {5, 2}, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
        {{5, 2}, {1, 2}, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
        {{3, 0}, {3, 3}, {{3, 0}, {3, 1}, {3, 2}}},
        {{3, 3}, {3, 0}, {{3, 3}, {3, 2}, {3, 1}}},
        {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {{2, 2}, {2, 2}, {}},
        // Off the canvas only the pixels inside are drawn.
        {{-2, 1}, {2, 1}, {{0, 1}, {1, 1}}},
    };
    for (const Case& c : cases) {
        SoftwareCanvas canvas(8, 6, kPaper);
        canvas.Line(c.from, c.to, kInk);
        EXPECT_EQ(InkedPixels(canvas), c.pixels)
            << "(" << c.from.x << "," << c.from.y << ")-(" << c.to.x << "," << c.to.y << ")";
    }
}

TEST(SoftwareCanvasLine, FourLinesCloseAFrameWithoutGapOrOverreach) {
    SoftwareCanvas canvas(8, 6, kPaper);
    canvas.Line({1, 1}, {5, 1}, kInk);
    canvas.Line({5, 1}, {5, 4}, kInk);
    canvas.Line({5, 4}, {1, 4}, kInk);
    canvas.Line({1, 4}, {1, 1}, kInk);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool border = ((x == 1 || x == 5) && y >= 1 && y <= 4) ||
                                ((y == 1 || y == 4) && x >= 1 && x <= 5);
            EXPECT_EQ(canvas.Pixel(x, y), border ? kInk : kPaper) << x << "," << y;
        }
}

TEST(SoftwareCanvasOffscreen, ReachesTheTargetOnlyWhenCopiedAndOnlyWithinItsArea) {
    SoftwareCanvas target(10, 10, kPaper);
    std::unique_ptr<IOffscreenCanvas> picture = target.CreateOffscreen({2, 3, 6, 8});
    // The picture keeps the target's coordinates; what lies outside its area is lost.
    picture->FillRect({0, 0, 10, 10}, kInk);
    picture->DrawText("x", {0, 0, 10, 10}, {4, 0, 10, 10}, kInk, 7);
    EXPECT_TRUE(InkedPixels(target).empty());
    EXPECT_TRUE(target.TextDraws().empty());

    picture->CopyToTarget();
    std::set<std::pair<int, int>> area;
    for (int y = 3; y < 8; ++y)
        for (int x = 2; x < 6; ++x)
            area.insert({x, y});
    EXPECT_EQ(InkedPixels(target), area);
    ASSERT_EQ(target.TextDraws().size(), 1u);
    const TextDraw& text = target.TextDraws()[0];
    EXPECT_EQ(text.text, "x");
    EXPECT_EQ(text.rect, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(text.clip, (Rect{4, 3, 6, 8}));
    EXPECT_EQ(text.font, 7u);
}

TEST(SoftwareCanvasClip, AClipBoxLimitsFillsLinesCopiesAndTexts) {
    SoftwareCanvas target(10, 4, kPaper);
    target.SetClipBox({3, 0, 6, 20});
    EXPECT_EQ(target.ClipBox(), (Rect{3, 0, 6, 4}));
    target.FillRect({0, 0, 10, 1}, kInk);
    target.Line({0, 1}, {10, 1}, kInk);
    SoftwareCanvas source(10, 4, kInk);
    target.CopyFrom(source, {0, 2, 10, 3});
    target.DrawText("t", {0, 0, 10, 4}, {0, 0, 4, 4}, kInk, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(target.Pixel(x, y), y < 3 && x >= 3 && x < 6 ? kInk : kPaper)
                << x << "," << y;
    ASSERT_EQ(target.TextDraws().size(), 1u);
    EXPECT_EQ(target.TextDraws()[0].clip, (Rect{3, 0, 4, 4}));
}

#ifdef CORVANE_HAS_PNG_FILE
TEST(SoftwareCanvasPng, ReadsBackPixelForPixelInRedGreenBlueOrder) {
    SoftwareCanvas canvas(7, 3, 0);
    canvas.FillRect({0, 0, 1, 1}, Rgb(255, 0, 0));
    canvas.FillRect({1, 0, 2, 1}, Rgb(0, 255, 0));
    canvas.FillRect({2, 0, 3, 1}, Rgb(0, 0, 255));
    canvas.FillRect({3, 1, 7, 3}, Rgb(109, 54, 1));
    testing::TempDir dir;
    const std::string path = dir.file("canvas.png");
    ASSERT_TRUE(WritePng(canvas, path));
    std::optional<SoftwareCanvas> read = testing::ReadPng(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Width(), 7);
    EXPECT_EQ(read->Height(), 3);
    EXPECT_EQ(read->Pixels(), canvas.Pixels());
    EXPECT_FALSE(WritePng(canvas, dir.file("no such folder/canvas.png")));
}
#endif

} // namespace
} // namespace corvane
