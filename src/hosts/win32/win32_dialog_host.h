#pragma once
#include "hosts/win32/win32_api.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "hosts/win32/win32_control_window.h"
#include "ui/dialog_host.h"

namespace corvane::win32 {

// One dialog window made from a resource template, run modally in a message loop of its own
// (the main window and the About box). The portable dialog's handlers see every message of the
// window through windowProc, from the first one during its creation (the dialog is subclassed
// as it is created); what they leave unhandled gets the dialog manager's handling, and OK and
// Cancel end the dialog. Calls from the test's worker reach the window as sent messages, which
// the window's thread serves whenever it takes messages, so that thread must never wait for
// the worker without dispatching (see DispatchUntil).
class Win32DialogHost : public IDialogHost {
public:
    // simulated: the drives are a simulated bay, so the system's formatter is never run for
    // them (the same letters may be real drives of the machine).
    Win32DialogHost(HINSTANCE instance, std::string appName, bool simulated);
    ~Win32DialogHost() override;
    Win32DialogHost(const Win32DialogHost&) = delete;
    Win32DialogHost& operator=(const Win32DialogHost&) = delete;

    // The portable dialog's window procedure: true when it handled the message.
    std::function<bool(std::uint32_t, WParam, LParam)> windowProc;
    // Told the window's handle once it exists (null again when it is destroyed).
    std::function<void(HWND)> onWindow;

    // Creates the dialog of template id owned by owner (disabled meanwhile), runs onInit on
    // WM_INITDIALOG, and dispatches messages until the dialog ends. The ended dialog is hidden
    // and beforeDestroy runs while its windows still exist; then they are destroyed. Returns
    // the dialog's result, -1 when it could not be created.
    int RunModal(int templateId, HWND owner, std::function<bool()> onInit,
                 std::function<void()> beforeDestroy = {});
    // Dispatches messages (sent ones among them) until done is true.
    static void DispatchUntil(const std::function<bool()>& done);

    HWND Handle() const { return window_.load(); }

    // IMessageBoxHost: owned by this dialog; an empty caption shows the application's name.
    int MessageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;

    void SetDlgItemText(int id, const std::string& text) override;
    std::string GetDlgItemText(int id) override;
    void EnableDlgItem(int id, bool enabled) override;
    bool IsDlgItemEnabled(int id) override;
    void MoveDlgItem(int id, Point at) override;
    LResult SendDlgItemMessage(int id, std::uint32_t message, WParam wParam,
                               LParam lParam) override;
    IControlWindow* SubclassDlgItem(int id, ControlProc proc) override;

    FontHandle CreateFont(int height, const std::string& face) override;
    void DeleteFont(FontHandle font) override;
    void SetFontToAllChildren(FontHandle font) override;

    void ComboResetContent(int id) override;
    void ComboAddString(int id, const std::string& line) override;
    void ComboDeleteString(int id, int index) override;
    void ComboSetCurSel(int id, int index) override;
    int ComboGetCurSel(int id) override;
    int ComboGetCount(int id) override;

    void CheckRadioButton(int first, int last, int checked) override;
    int GetCheckedRadioButton(int first, int last) override;

    void SetTimer(int id, unsigned periodMs) override;
    void KillTimer(int id) override;

    void InvalidateControl(int id) override;
    void UpdateWindow() override;

    std::string LoadString(int id) override;
    bool AppendSystemMenuItem(const std::string& text, unsigned command) override;
    void SetIcon(int resourceId) override;

    int CaptionHeight() override;
    void SetWindowSize(int width, int height) override;

    void OfferFormat(int driveNumber, const std::string& drive) override;

    int RunModalDialog(int templateId, std::function<bool(IDialogHost&)> onInit) override;
    void EndDialog(int result) override;

private:
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam);
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void Bind(HWND window);
    HWND Item(int id) const { return ::GetDlgItem(window_.load(), id); }

    HINSTANCE instance_;
    std::string appName_;
    bool simulated_;
    std::atomic<HWND> window_{nullptr};
    WNDPROC dialogClassProc_ = nullptr;
    std::function<bool()> onInit_;
    bool ended_ = false;
    int result_ = 0;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::map<int, std::unique_ptr<Win32ControlWindow>> controls_;
};

} // namespace corvane::win32
