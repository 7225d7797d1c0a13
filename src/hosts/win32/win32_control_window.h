#pragma once
#include "hosts/win32/win32_api.h"

#include "ui/dialog_host.h"

namespace corvane::win32 {

// A child control of a dialog whose messages go to a portable control's own handling: the
// window class's procedure is replaced (subclassing) and stays reachable as the default
// handling. Lives until the dialog's windows are destroyed; the window's last message gives the
// class its procedure back.
class Win32ControlWindow : public IControlWindow {
public:
    // Subclasses control; proc then answers every message of it.
    Win32ControlWindow(HWND control, IDialogHost::ControlProc proc);
    ~Win32ControlWindow() override;
    Win32ControlWindow(const Win32ControlWindow&) = delete;
    Win32ControlWindow& operator=(const Win32ControlWindow&) = delete;

    void Invalidate() override;
    void RedrawNow() override;
    void SetSize(int width, int height) override;
    Rect ClientRect() const override;
    bool IsVertical() const override;
    FontHandle ParentFont() const override;
    Colour SystemColour(int index) const override;
    LResult CallDefault(std::uint32_t message, WParam wParam, LParam lParam) override;
    std::unique_ptr<ICanvas> BeginPaint() override;

    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Release();

    HWND window_;
    IDialogHost::ControlProc proc_;
    WNDPROC classProc_ = nullptr;
};

} // namespace corvane::win32
