#pragma once
#include "hosts/win32/win32_api.h"

#include <atomic>
#include <string>

#include "app/corvane_app.h"

namespace corvane::win32 {

// The dialog program's front end: start-up's message boxes are real ones, and the main dialog
// step runs the main window modally.
class Win32FrontEnd : public IFrontEnd {
public:
    // simulated: the drives are a simulated bay.
    Win32FrontEnd(HINSTANCE instance, std::string appName, bool simulated);

    // MessageBoxA owned by the main window while it exists, by nobody before; an empty caption
    // shows the application's name.
    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    bool RunMainDialog(CCorvaneApp& app) override;

    HINSTANCE Instance() const { return instance_; }
    bool Simulated() const { return simulated_; }
    // The window that owns message boxes; null while no main window exists.
    void SetOwner(HWND owner) { owner_.store(owner); }

private:
    HINSTANCE instance_;
    std::string appName_;
    bool simulated_;
    std::atomic<HWND> owner_{nullptr};
};

} // namespace corvane::win32
