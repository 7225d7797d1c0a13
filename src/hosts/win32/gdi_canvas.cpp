#include "hosts/win32/gdi_canvas.h"

#include <string>

namespace corvane::win32 {
namespace {

RECT ToRect(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// A memory context and bitmap of the target's kind covering area, with its origin moved so that
// drawing uses the target's coordinates; one BitBlt copies it to the same place.
class GdiOffscreen : public IOffscreenCanvas {
public:
    GdiOffscreen(HDC target, const Rect& area)
        : target_(target), area_(area), dc_(::CreateCompatibleDC(target)),
          bitmap_(::CreateCompatibleBitmap(target, area.Width(), area.Height())),
          canvas_(dc_) {
        if (dc_ != nullptr && bitmap_ != nullptr) {
            old_ = ::SelectObject(dc_, bitmap_);
            ::SetWindowOrgEx(dc_, area.left, area.top, nullptr);
            // What the target had selected carries over, as a compatible context starts bare.
            ::SelectObject(dc_, ::GetCurrentObject(target, OBJ_FONT));
        }
    }
    ~GdiOffscreen() override {
        if (dc_ != nullptr) {
            if (old_ != nullptr)
                ::SelectObject(dc_, old_);
            ::DeleteDC(dc_);
        }
        if (bitmap_ != nullptr)
            ::DeleteObject(bitmap_);
    }
    GdiOffscreen(const GdiOffscreen&) = delete;
    GdiOffscreen& operator=(const GdiOffscreen&) = delete;

    void FillRect(const Rect& rect, Colour colour) override {
        if (Ready())
            canvas_.FillRect(rect, colour);
    }
    void Line(Point from, Point to, Colour colour) override {
        if (Ready())
            canvas_.Line(from, to, colour);
    }
    void DrawText(std::string_view text, const Rect& rect, const Rect& clip, Colour colour,
                  FontHandle font) override {
        if (Ready())
            canvas_.DrawText(text, rect, clip, colour, font);
    }
    Rect ClipBox() const override { return area_; }
    std::unique_ptr<IOffscreenCanvas> CreateOffscreen(const Rect& area) override {
        return std::make_unique<GdiOffscreen>(dc_, area);
    }
    void CopyToTarget() override {
        if (Ready())
            ::BitBlt(target_, area_.left, area_.top, area_.Width(), area_.Height(), dc_,
                     area_.left, area_.top, SRCCOPY);
    }

private:
    bool Ready() const { return dc_ != nullptr && bitmap_ != nullptr; }

    HDC target_;
    Rect area_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_ = nullptr;
    GdiCanvas canvas_;
};

} // namespace

void GdiCanvas::FillRect(const Rect& rect, Colour colour) {
    if (rect.Empty())
        return;
    HBRUSH brush = ::CreateSolidBrush(colour);
    const RECT r = ToRect(rect);
    ::FillRect(dc_, &r, brush);
    ::DeleteObject(brush);
}

void GdiCanvas::Line(Point from, Point to, Colour colour) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(dc_, pen);
    ::MoveToEx(dc_, from.x, from.y, nullptr);
    ::LineTo(dc_, to.x, to.y);
    ::SelectObject(dc_, old);
    ::DeleteObject(pen);
}

void GdiCanvas::DrawText(std::string_view text, const Rect& rect, const Rect& clip, Colour colour,
                         FontHandle font) {
    if (clip.Empty())
        return;
    const int saved = ::SaveDC(dc_);
    ::IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
    if (font != 0)
        ::SelectObject(dc_, reinterpret_cast<HFONT>(font));
    ::SetBkMode(dc_, TRANSPARENT);
    ::SetTextColor(dc_, colour);
    RECT r = ToRect(rect);
    const std::string copy(text);
    ::DrawTextA(dc_, copy.c_str(), static_cast<int>(copy.size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::RestoreDC(dc_, saved);
}

Rect GdiCanvas::ClipBox() const {
    RECT r{};
    if (::GetClipBox(dc_, &r) == ERROR)
        return Rect{};
    return Rect{r.left, r.top, r.right, r.bottom};
}

std::unique_ptr<IOffscreenCanvas> GdiCanvas::CreateOffscreen(const Rect& area) {
    return std::make_unique<GdiOffscreen>(dc_, area);
}

GdiPaintCanvas::GdiPaintCanvas(HWND window) : GdiCanvas(nullptr), window_(window) {
    dc_ = ::BeginPaint(window_, &paint_);
}

GdiPaintCanvas::~GdiPaintCanvas() {
    ::EndPaint(window_, &paint_);
}

} // namespace corvane::win32
