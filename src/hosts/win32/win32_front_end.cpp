#include "hosts/win32/win32_front_end.h"

#include "hosts/win32/win32_main_dialog.h"

namespace corvane::win32 {

Win32FrontEnd::Win32FrontEnd(HINSTANCE instance, std::string appName, bool simulated)
    : instance_(instance), appName_(std::move(appName)), simulated_(simulated) {}

int Win32FrontEnd::MessageBox(const std::string& text, const std::string& caption,
                              std::uint32_t style) {
    const std::string& shown = caption.empty() ? appName_ : caption;
    return ::MessageBoxA(owner_.load(), text.c_str(), shown.c_str(), style);
}

bool Win32FrontEnd::RunMainDialog(CCorvaneApp& app) {
    return RunMainWindow(*this, app);
}

} // namespace corvane::win32
