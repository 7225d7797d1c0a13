#include "ui/controls/hdd_graph_static.h"

#include <climits>

namespace corvane {
namespace {

constexpr int kFineStep = 5;
constexpr int kCoarseColumn = 50;
constexpr int kCoarseRow = 32;
constexpr int kPlotSide = 4;

} // namespace

void CHddGraphStatic::Invalidate() {
    if (IControlWindow* window = window_.load())
        window->Invalidate();
}

void CHddGraphStatic::ResetMap() {
    plotCount_.store(0);
    Invalidate();
}

void CHddGraphStatic::SetMapSize(int width, int height) {
    if (IControlWindow* window = window_.load())
        window->SetSize(width + 5, height + 5);
}

void CHddGraphStatic::SetGridColours(Colour frame, Colour fine, Colour background) {
    frameColour_ = frame;
    fineColour_ = fine;
    backgroundColour_ = background;
    Invalidate();
}

void CHddGraphStatic::SetSpeedColour(Colour colour) {
    speedColour_ = colour;
    Invalidate();
}

void CHddGraphStatic::SetSecondColour(Colour colour) {
    secondColour_ = colour;
    Invalidate();
}

void CHddGraphStatic::AddPlot() {
    // The count has no limit of its own, but it stops at the largest int instead of turning
    // negative, which would empty the map.
    int count = plotCount_.load();
    while (count < INT_MAX && !plotCount_.compare_exchange_weak(count, count + 1)) {
    }
}

LResult CHddGraphStatic::WindowProc(std::uint32_t message, WParam wParam, LParam lParam) {
    IControlWindow* window = window_.load();
    switch (message) {
    case kWmEraseBkgnd:
        return OnEraseBkgnd();
    case kWmPaint:
        if (window) {
            std::unique_ptr<ICanvas> canvas = window->BeginPaint();
            OnPaint(*canvas);
        }
        return 0;
    default:
        return window ? window->CallDefault(message, wParam, lParam) : 0;
    }
}

void CHddGraphStatic::OnPaint(ICanvas& target) {
    const Rect picture{0, 0, kPictureWidth, kPictureHeight};
    std::unique_ptr<IOffscreenCanvas> bitmap = target.CreateOffscreen(picture);

    IControlWindow* window = window_.load();
    const Rect client = window ? window->ClientRect() : picture;
    bitmap->FillRect(Intersect(client, picture), backgroundColour_);

    for (int x = kFineStep; x < kPictureWidth; x += kFineStep)
        bitmap->Line({x, 0}, {x, kPictureHeight}, fineColour_);
    for (int y = kFineStep; y < kPictureHeight; y += kFineStep)
        bitmap->Line({0, y}, {kPictureWidth, y}, fineColour_);

    const int right = kPictureWidth - 1;
    const int bottom = kPictureHeight - 1;
    bitmap->Line({0, 0}, {right, 0}, frameColour_);
    bitmap->Line({right, 0}, {right, bottom}, frameColour_);
    bitmap->Line({right, bottom}, {0, bottom}, frameColour_);
    bitmap->Line({0, bottom}, {0, 0}, frameColour_);
    for (int x = kCoarseColumn; x <= kPictureWidth; x += kCoarseColumn)
        bitmap->Line({x, 0}, {x, kPictureHeight}, frameColour_);
    for (int y = kCoarseRow; y < kPictureHeight; y += kCoarseRow)
        bitmap->Line({0, y}, {kPictureWidth, y}, frameColour_);

    const int count = plotCount_.load();
    if (count > 0) {
        const Colour brush = verifyBrush_.load() ? kVerifiedPlotColour : kWrittenPlotColour;
        const int rows = (count - 1) / kPlotsPerRow + 1;
        // Rows that start below the picture cannot show: a count far beyond the 96 rows that
        // fit costs no more than a full map.
        for (int r = 0; r < rows && 1 + kFineStep * r < kPictureHeight; ++r) {
            const int inRow = r < rows - 1 ? kPlotsPerRow : count - kPlotsPerRow * (rows - 1);
            const int top = 1 + kFineStep * r;
            for (int c = 0; c < inRow; ++c) {
                const int left = 1 + kFineStep * c;
                bitmap->FillRect({left, top, left + kPlotSide, top + kPlotSide}, brush);
            }
        }
    }

    bitmap->CopyToTarget();
}

} // namespace corvane
