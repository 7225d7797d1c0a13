#pragma once
#include <atomic>

#include "canvas/canvas.h"
#include "ui/controls/control_window.h"

namespace corvane {

// The test map: squares ("plots") on a fixed grid, each standing for a share of the drive's
// sectors, white while the test writes and green while it verifies. The test engine drives it
// from the worker thread; the window's thread paints.
class CHddGraphStatic {
public:
    // The picture, in pixels; the owner sizes the window 5 pixels wider and 4 higher.
    static constexpr int kPictureWidth = 501;
    static constexpr int kPictureHeight = 481;
    static constexpr int kPlotsPerRow = 100;

    static constexpr Colour kWrittenPlotColour = 0x00FFFFFF;
    static constexpr Colour kVerifiedPlotColour = 0x0000B400;

    CHddGraphStatic() = default;
    CHddGraphStatic(const CHddGraphStatic&) = delete;
    CHddGraphStatic& operator=(const CHddGraphStatic&) = delete;

    // Makes the control's own message handling active on window (null detaches). The window
    // must outlive the attachment; attach before the worker starts.
    void Attach(IControlWindow* window) { window_.store(window); }

    // Operations. Those marked "repaints" invalidate the whole window (with erase) so that its
    // thread paints soon; none paints by itself.
    // Plot count 0; repaints.
    void ResetMap();
    // Resizes the window to width + 5 by height + 5, position kept, first among its siblings.
    void SetMapSize(int width, int height);
    // Frame and coarse grid, fine grid and background colours; repaints.
    void SetGridColours(Colour frame, Colour fine, Colour background);
    // Stored only: nothing in the picture uses them. Repaint.
    void SetSpeedColour(Colour colour);
    void SetSecondColour(Colour colour);
    // The worker's operations, none of which repaints: the engine calls Refresh after a group.
    void ClearPlots() { plotCount_.store(0); }
    void UseWriteBrush() { verifyBrush_.store(false); }
    void UseVerifyBrush() { verifyBrush_.store(true); }
    void AddPlot();
    void Refresh() { Invalidate(); }

    int PlotCount() const { return plotCount_.load(); }
    Colour SpeedColour() const { return speedColour_; }
    Colour SecondColour() const { return secondColour_; }

    // The window's messages: WM_ERASEBKGND draws nothing, WM_PAINT paints; the rest go to the
    // static control.
    LResult WindowProc(std::uint32_t message, WParam wParam, LParam lParam);
    // Reports the background as erased: the paint covers the whole picture, so erasing first
    // would only flicker.
    LResult OnEraseBkgnd() { return 1; }
    // Paints the whole picture from the fields onto target: built off-screen, copied once.
    void OnPaint(ICanvas& target);

private:
    void Invalidate();

    std::atomic<IControlWindow*> window_{nullptr};
    // One writer (the worker while a test runs) and one reader (the paint): read and written
    // whole, and a paint may show a count one step behind.
    std::atomic<int> plotCount_{0};
    std::atomic<bool> verifyBrush_{true};
    Colour frameColour_ = 0x0000FF00;
    Colour fineColour_ = 0x00008400;
    // The owner sets the background before the window is first shown; until then it is black,
    // the owner's own default.
    Colour backgroundColour_ = 0x00000000;
    Colour speedColour_ = 0x0000FFFF;
    Colour secondColour_ = 0x0000FF00;
};

} // namespace corvane
