#pragma once
#include <cstdint>
#include <string>

#include "canvas/canvas.h"
#include "ui/controls/control_window.h"

namespace corvane {

// The main window's progress bar: it draws the bar itself, off-screen, with a text centred
// across it in two colours split where the filled part ends, so the text stays readable
// wherever the bar's end lies. It answers the progress bar's messages itself and keeps its own
// position, range and step. All of it runs on the window's thread: the worker sends messages.
class CTextProgressCtrl {
public:
    CTextProgressCtrl() = default;
    CTextProgressCtrl(const CTextProgressCtrl&) = delete;
    CTextProgressCtrl& operator=(const CTextProgressCtrl&) = delete;

    // Makes the control's own message handling active on window (null detaches). Without a
    // window the control answers as one that does not exist.
    void Attach(IControlWindow* window) { window_ = window; }

    // Every message of the window, with the platform's results. Pointers travel in lParam as
    // Windows passes them: a PbRange for PBM_GETRANGE, a null-terminated text for WM_SETTEXT, a
    // buffer for WM_GETTEXT. Without a window PBM_SETPOS changes nothing and answers -1.
    LResult WindowProc(std::uint32_t message, WParam wParam, LParam lParam);

private:
    LResult OnSetPos(WParam wParam);
    LResult OnGetText(WParam wParam, LParam lParam) const;
    LResult OnSetFont(WParam wParam, LParam lParam);
    LResult OnPaint();
    // The position's share of the range applied to whole, truncated toward zero; only
    // meaningful while lower < upper.
    double ShareOf(double whole) const;
    // Pixels of the bar's length that the position fills; 0 while the range is empty.
    std::int32_t FillLength(const Rect& client) const;
    void Invalidate();
    LResult PassOn(std::uint32_t message, WParam wParam, LParam lParam);

    IControlWindow* window_ = nullptr;
    Colour textColour_ = kClrDefault;
    std::int32_t position_ = 0;
    std::int32_t step_ = 1;
    std::int32_t upper_ = 100;
    std::int32_t lower_ = 0;
    std::string text_;
    bool showText_ = true;
    // The fill length at the last repaint caused by a position change; -1 when there was none
    // since the control was made or resized.
    std::int32_t lastFill_ = -1;
    Colour barColour_ = kClrDefault;
    Colour backgroundColour_ = kClrDefault;
    // Borrowed: the window that sends its font keeps it and releases it once, after the
    // controls that draw with it are gone (it sends the same font to every control).
    FontHandle font_ = 0;
};

} // namespace corvane
