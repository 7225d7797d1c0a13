#pragma once
#include <memory>

#include "canvas/canvas.h"
#include "ui/controls/control_messages.h"

namespace corvane {

// The window a self-drawn control is attached to, as the control needs it: each host
// implements it on its real window (a Win32 child window, a Qt widget) or records the calls
// (tests). The controls keep their own state and call out only through here.
class IControlWindow {
public:
    virtual ~IControlWindow() = default;

    // Marks the whole client area for repainting, with erase requested; the paint follows
    // later on the window's own thread. Safe from any thread.
    virtual void Invalidate() = 0;
    // Invalidates the whole client area with erase and paints it before returning
    // (RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW).
    virtual void RedrawNow() = 0;
    // Resizes the window to width by height pixels, keeping its position, and places it first
    // among its sibling windows; the window system repaints what needs it.
    virtual void SetSize(int width, int height) = 0;
    // The client area, (0,0) at its top-left.
    virtual Rect ClientRect() const = 0;
    // Whether the window has the vertical bar style (PBS_VERTICAL).
    virtual bool IsVertical() const = 0;
    // The font of the parent window (the answer to WM_GETFONT sent to it).
    virtual FontHandle ParentFont() const = 0;
    // The current system colour of index (kColorWindow, kColorHighlight).
    virtual Colour SystemColour(int index) const = 0;
    // Passes a message on to the window class's own handling (the platform's progress bar or
    // static control) and returns its result.
    virtual LResult CallDefault(std::uint32_t message, WParam wParam, LParam lParam) = 0;
    // Begins painting the area to repaint; destroying the canvas ends the paint and validates
    // the window, so the paint is not asked for again.
    virtual std::unique_ptr<ICanvas> BeginPaint() = 0;
};

} // namespace corvane
