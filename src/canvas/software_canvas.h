#pragma once
#include <string>
#include <vector>

#include "canvas/canvas.h"

namespace corvane {

// One DrawText call as it reached the picture: the glyphs are not rasterised, so the text, its
// layout rectangle, the part of it that can show (the clip, cut to the canvas) and its colour
// stand for them.
struct TextDraw {
    std::string text;
    Rect rect;
    Rect clip;
    Colour colour = 0;
    FontHandle font = 0;
};

// A canvas of 32-bit pixels in memory (COLORREF values), for tests and for hosts that show or
// save pictures themselves. It covers bounds, whose top-left need not be (0,0): an off-screen
// picture of part of a window keeps the window's coordinates. Whatever falls outside the bounds
// (or outside a clip box that is set) is dropped, as a window clips it.
class SoftwareCanvas : public ICanvas {
public:
    explicit SoftwareCanvas(const Rect& bounds, Colour fill = 0);
    SoftwareCanvas(int width, int height, Colour fill = 0)
        : SoftwareCanvas(Rect{0, 0, width, height}, fill) {}

    const Rect& Bounds() const { return bounds_; }
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    // The pixel at (x, y) of the canvas's coordinates, which must lie within the bounds.
    Colour Pixel(int x, int y) const;
    // Rows from the top, each Width() pixels long.
    const std::vector<Colour>& Pixels() const { return pixels_; }
    // Every text drawn, in order, including those copied in from off-screen pictures.
    const std::vector<TextDraw>& TextDraws() const { return texts_; }

    // Limits all later drawing to clip, as a paint limits it to the area to repaint; the clip
    // box is then clip within the bounds.
    void SetClipBox(const Rect& clip);

    void FillRect(const Rect& rect, Colour colour) override;
    void Line(Point from, Point to, Colour colour) override;
    void DrawText(std::string_view text, const Rect& rect, const Rect& clip, Colour colour,
                  FontHandle font) override;
    Rect ClipBox() const override { return clip_; }
    std::unique_ptr<IOffscreenCanvas> CreateOffscreen(const Rect& area) override;

    // Copies area of source onto the same place here (the part that both hold and that the clip
    // box lets through), with the texts drawn there.
    void CopyFrom(const SoftwareCanvas& source, const Rect& area);

private:
    Colour& At(int x, int y) { return pixels_[Index(x, y)]; }
    std::size_t Index(int x, int y) const;

    Rect bounds_;
    Rect clip_;
    std::vector<Colour> pixels_;
    std::vector<TextDraw> texts_;
};

} // namespace corvane
