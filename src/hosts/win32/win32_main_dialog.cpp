#include "hosts/win32/win32_main_dialog.h"

#include "hosts/win32/win32_dialog_host.h"
#include "hosts/win32/win32_front_end.h"
#include "ui/dialog_templates.h"
#include "ui/meltrick.h"

namespace corvane::win32 {

bool RunMainWindow(Win32FrontEnd& frontEnd, CCorvaneApp& app) {
    // The host outlives the window: the window releases its font through it.
    Win32DialogHost host(frontEnd.Instance(), app.AppName(), frontEnd.Simulated());
    CMeltrick dialog(
        host, app.Platform(),
        [&app](const std::string& key, int def) { return app.GetSettingInt(key, def); },
        [&app](const std::string& key, int value) { return app.WriteSettingInt(key, value); });
    host.windowProc = [&dialog](std::uint32_t message, WParam wParam, LParam lParam) {
        return dialog.WindowProc(message, wParam, lParam);
    };
    host.onWindow = [&frontEnd](HWND window) { frontEnd.SetOwner(window); };

    const int result = host.RunModal(
        kIddMainDialog, nullptr, [&dialog] { return dialog.OnInitDialog(); },
        [&dialog] {
            // However the dialog ended (OnClose, or OK and Cancel without it), a running worker
            // stops at its next block. It changes the controls by sent messages until it has
            // released the volume, so this thread serves them meanwhile; the windows it uses
            // are destroyed only after that.
            CTestRunControl& run = dialog.RunControl();
            run.RequestClose();
            Win32DialogHost::DispatchUntil([&run] { return !run.WorkerActive(); });
        });
    return result != -1;
}

} // namespace corvane::win32
