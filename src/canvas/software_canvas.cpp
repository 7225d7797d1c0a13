#include "canvas/software_canvas.h"

#include <cstdlib>
#include <stdexcept>

namespace corvane {
namespace {

class SoftwareOffscreen : public IOffscreenCanvas {
public:
    SoftwareOffscreen(SoftwareCanvas& target, const Rect& area)
        : target_(target), area_(area), picture_(area) {}

    void FillRect(const Rect& rect, Colour colour) override { picture_.FillRect(rect, colour); }
    void Line(Point from, Point to, Colour colour) override { picture_.Line(from, to, colour); }
    void DrawText(std::string_view text, const Rect& rect, const Rect& clip, Colour colour,
                  FontHandle font) override {
        picture_.DrawText(text, rect, clip, colour, font);
    }
    Rect ClipBox() const override { return picture_.ClipBox(); }
    std::unique_ptr<IOffscreenCanvas> CreateOffscreen(const Rect& area) override {
        return picture_.CreateOffscreen(area);
    }
    void CopyToTarget() override { target_.CopyFrom(picture_, area_); }

private:
    SoftwareCanvas& target_;
    Rect area_;
    SoftwareCanvas picture_;
};

} // namespace

SoftwareCanvas::SoftwareCanvas(const Rect& bounds, Colour fill)
    : bounds_(bounds.Empty() ? Rect{bounds.left, bounds.top, bounds.left, bounds.top} : bounds),
      clip_(bounds_), pixels_(static_cast<std::size_t>(bounds_.Width()) *
                                  static_cast<std::size_t>(bounds_.Height()),
                              fill) {}

std::size_t SoftwareCanvas::Index(int x, int y) const {
    return static_cast<std::size_t>(y - bounds_.top) * static_cast<std::size_t>(bounds_.Width()) +
           static_cast<std::size_t>(x - bounds_.left);
}

Colour SoftwareCanvas::Pixel(int x, int y) const {
    if (!bounds_.Contains(x, y))
        throw std::out_of_range("SoftwareCanvas::Pixel outside the bounds");
    return pixels_[Index(x, y)];
}

void SoftwareCanvas::SetClipBox(const Rect& clip) {
    clip_ = Intersect(bounds_, clip);
}

void SoftwareCanvas::FillRect(const Rect& rect, Colour colour) {
    const Rect r = Intersect(rect, clip_);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            At(x, y) = colour;
}

void SoftwareCanvas::Line(Point from, Point to, Colour colour) {
    // Bresenham's walk, which stops before the end point. Coordinates far outside the canvas
    // only cost steps; the pixels are clipped one by one.
    const long long dx = std::llabs(static_cast<long long>(to.x) - from.x);
    const long long dy = -std::llabs(static_cast<long long>(to.y) - from.y);
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    long long error = dx + dy;
    Point p = from;
    while (p != to) {
        if (clip_.Contains(p.x, p.y))
            At(p.x, p.y) = colour;
        const long long twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.x += sx;
        }
        if (twice <= dx) {
            error += dx;
            p.y += sy;
        }
    }
}

void SoftwareCanvas::DrawText(std::string_view text, const Rect& rect, const Rect& clip,
                              Colour colour, FontHandle font) {
    texts_.push_back(TextDraw{std::string(text), rect, Intersect(clip, clip_), colour, font});
}

std::unique_ptr<IOffscreenCanvas> SoftwareCanvas::CreateOffscreen(const Rect& area) {
    return std::make_unique<SoftwareOffscreen>(*this, area);
}

void SoftwareCanvas::CopyFrom(const SoftwareCanvas& source, const Rect& area) {
    const Rect r = Intersect(Intersect(area, source.bounds_), clip_);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            At(x, y) = source.pixels_[source.Index(x, y)];
    for (const TextDraw& draw : source.texts_) {
        TextDraw copied = draw;
        copied.clip = Intersect(draw.clip, r);
        texts_.push_back(std::move(copied));
    }
}

} // namespace corvane
