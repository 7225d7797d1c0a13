#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "canvas/colour.h"
#include "canvas/geometry.h"

namespace corvane {

// A font as the window system hands it out (a Windows font handle, passed in WM_SETFONT's
// wParam); 0 is the canvas's default font. Canvases never release a font: whoever made it does.
using FontHandle = std::uintptr_t;

class IOffscreenCanvas;

// What the self-drawn controls draw on: the window's paint context (GDI on Windows), or pixels
// in memory (the software canvas of the tests and of hosts without a window system). All
// coordinates are the window's client coordinates.
class ICanvas {
public:
    virtual ~ICanvas() = default;

    // Fills rect with a solid colour; an empty rectangle fills nothing.
    virtual void FillRect(const Rect& rect, Colour colour) = 0;
    // A solid line 1 pixel wide from `from` to `to`: the start point is drawn, the end point
    // is not, as the window system draws lines, so a frame of four lines closes exactly.
    virtual void Line(Point from, Point to, Colour colour) = 0;
    // One line of text centred horizontally and vertically in rect, in colour over what lies
    // beneath (no background), drawn only inside clip. An empty clip draws nothing.
    virtual void DrawText(std::string_view text, const Rect& rect, const Rect& clip, Colour colour,
                          FontHandle font) = 0;
    // The part of the canvas that drawing can reach (during a paint: the area to repaint).
    virtual Rect ClipBox() const = 0;
    // An off-screen picture of area, drawn with this canvas's coordinates and copied onto it in
    // one step, so a picture built in several passes reaches the screen without flicker. Its
    // pixels are undefined until drawn. The canvas must outlive it.
    virtual std::unique_ptr<IOffscreenCanvas> CreateOffscreen(const Rect& area) = 0;
};

class IOffscreenCanvas : public ICanvas {
public:
    // Copies the whole area to the same place on the canvas that made it.
    virtual void CopyToTarget() = 0;
};

} // namespace corvane
