#pragma once
#include "hosts/win32/win32_api.h"

#include "canvas/canvas.h"

namespace corvane::win32 {

// A canvas on a GDI device context, in the context's logical coordinates. It borrows the
// context: whoever made it releases it.
class GdiCanvas : public ICanvas {
public:
    explicit GdiCanvas(HDC dc) : dc_(dc) {}

    void FillRect(const Rect& rect, Colour colour) override;
    void Line(Point from, Point to, Colour colour) override;
    void DrawText(std::string_view text, const Rect& rect, const Rect& clip, Colour colour,
                  FontHandle font) override;
    Rect ClipBox() const override;
    std::unique_ptr<IOffscreenCanvas> CreateOffscreen(const Rect& area) override;

    HDC Dc() const { return dc_; }

protected:
    HDC dc_;
};

// The paint of one window: BeginPaint on construction, EndPaint (which validates the window)
// on destruction.
class GdiPaintCanvas : public GdiCanvas {
public:
    explicit GdiPaintCanvas(HWND window);
    ~GdiPaintCanvas() override;
    GdiPaintCanvas(const GdiPaintCanvas&) = delete;
    GdiPaintCanvas& operator=(const GdiPaintCanvas&) = delete;

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

} // namespace corvane::win32
