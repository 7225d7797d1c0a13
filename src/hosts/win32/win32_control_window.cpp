#include "hosts/win32/win32_control_window.h"

#include "hosts/win32/gdi_canvas.h"

namespace corvane::win32 {
namespace {

constexpr const char* kControlProperty = "Corvane.Control";

} // namespace

Win32ControlWindow::Win32ControlWindow(HWND control, IDialogHost::ControlProc proc)
    : window_(control), proc_(std::move(proc)) {
    ::SetPropA(window_, kControlProperty, this);
    classProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ControlWindow::Procedure)));
}

Win32ControlWindow::~Win32ControlWindow() {
    if (::IsWindow(window_))
        Release();
}

void Win32ControlWindow::Release() {
    if (classProc_ == nullptr)
        return;
    ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc_));
    ::RemovePropA(window_, kControlProperty);
    classProc_ = nullptr;
}

LRESULT CALLBACK Win32ControlWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* self = static_cast<Win32ControlWindow*>(::GetPropA(window, kControlProperty));
    if (self == nullptr)
        return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC classProc = self->classProc_;
        self->Release();
        return ::CallWindowProcA(classProc, window, message, wParam, lParam);
    }
    return self->proc_(message, wParam, lParam);
}

void Win32ControlWindow::Invalidate() {
    ::InvalidateRect(window_, nullptr, TRUE);
}

void Win32ControlWindow::RedrawNow() {
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32ControlWindow::SetSize(int width, int height) {
    ::SetWindowPos(window_, HWND_TOP, 0, 0, width, height, SWP_NOMOVE);
}

Rect Win32ControlWindow::ClientRect() const {
    RECT r{};
    ::GetClientRect(window_, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

bool Win32ControlWindow::IsVertical() const {
    return (::GetWindowLongA(window_, GWL_STYLE) & PBS_VERTICAL) != 0;
}

FontHandle Win32ControlWindow::ParentFont() const {
    return static_cast<FontHandle>(::SendMessageA(::GetParent(window_), WM_GETFONT, 0, 0));
}

Colour Win32ControlWindow::SystemColour(int index) const {
    return ::GetSysColor(index);
}

LResult Win32ControlWindow::CallDefault(std::uint32_t message, WParam wParam, LParam lParam) {
    if (classProc_ == nullptr)
        return ::DefWindowProcA(window_, message, wParam, lParam);
    return ::CallWindowProcA(classProc_, window_, message, wParam, lParam);
}

std::unique_ptr<ICanvas> Win32ControlWindow::BeginPaint() {
    return std::make_unique<GdiPaintCanvas>(window_);
}

} // namespace corvane::win32
