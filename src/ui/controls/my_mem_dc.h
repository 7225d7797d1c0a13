#pragma once
#include <memory>

#include "canvas/canvas.h"

namespace corvane {

// The off-screen drawing context the progress bar paints through: everything drawn on it goes
// to a picture of the target's clip box, in the target's coordinates, and reaches the target in
// one copy when the context ends, so the bar and both passes of its text never flicker.
class CMyMemDC : public ICanvas {
public:
    explicit CMyMemDC(ICanvas& target);
    // Ends the context: copies the picture to the same place on the target, then releases it.
    ~CMyMemDC() override;
    CMyMemDC(const CMyMemDC&) = delete;
    CMyMemDC& operator=(const CMyMemDC&) = delete;

    // The area drawn and copied: the target's clip box when the context began.
    const Rect& GetRect() const { return rect_; }

    void FillRect(const Rect& rect, Colour colour) override { bitmap_->FillRect(rect, colour); }
    void Line(Point from, Point to, Colour colour) override { bitmap_->Line(from, to, colour); }
    void DrawText(std::string_view text, const Rect& rect, const Rect& clip, Colour colour,
                  FontHandle font) override {
        bitmap_->DrawText(text, rect, clip, colour, font);
    }
    Rect ClipBox() const override { return bitmap_->ClipBox(); }
    std::unique_ptr<IOffscreenCanvas> CreateOffscreen(const Rect& area) override {
        return bitmap_->CreateOffscreen(area);
    }

private:
    Rect rect_;
    std::unique_ptr<IOffscreenCanvas> bitmap_;
};

} // namespace corvane
