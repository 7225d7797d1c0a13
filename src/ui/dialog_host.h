#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "canvas/canvas.h"
#include "canvas/geometry.h"
#include "os/vocabulary.h"
#include "ui/controls/control_messages.h"
#include "ui/controls/control_window.h"

namespace corvane {

// The window system as a dialog sees it: one dialog window made from its template, its child
// controls named by id, and the services around them. Each host implements it on real windows
// (Win32, Qt) or records every call (tests). Unless a member says otherwise it is called on the
// dialog's own thread; the text, enable and send members are also called by the test's worker,
// and the host carries them to the dialog's thread as the window system does.
class IDialogHost : public IMessageBoxHost {
public:
    // A control's own message handling, for controls that answer their messages themselves.
    using ControlProc = std::function<LResult(std::uint32_t message, WParam, LParam)>;

    // Sets the text of control id, shown at once. Any thread.
    virtual void SetDlgItemText(int id, const std::string& text) = 0;
    // The text control id shows now.
    virtual std::string GetDlgItemText(int id) = 0;
    // Enables or disables control id. Any thread.
    virtual void EnableDlgItem(int id, bool enabled) = 0;
    // Whether control id is enabled.
    virtual bool IsDlgItemEnabled(int id) = 0;
    // Moves control id so that its top-left is at, in client pixels; size and z-order kept.
    virtual void MoveDlgItem(int id, Point at) = 0;
    // Sends message to control id and returns its answer; the control's own handling (from
    // SubclassDlgItem) answers first. Any thread: the call runs on the dialog's thread.
    virtual LResult SendDlgItemMessage(int id, std::uint32_t message, WParam wParam,
                                       LParam lParam) = 0;
    // Hands every message of control id to proc from now on, and returns the window that the
    // control draws on and asks to repaint; null when there is no such control. The window
    // lives as long as the dialog's windows.
    virtual IControlWindow* SubclassDlgItem(int id, ControlProc proc) = 0;

    // A font of height pixels and face name (every other property the default); 0 when it
    // cannot be made. The caller releases it with DeleteFont.
    virtual FontHandle CreateFont(int height, const std::string& face) = 0;
    virtual void DeleteFont(FontHandle font) = 0;
    // Sends WM_SETFONT with font, without redraw, to every child and grandchild window.
    virtual void SetFontToAllChildren(FontHandle font) = 0;

    // The combo box id: empty it, append a line, delete line index, select a line, the
    // selected line (-1 when none) and the line count.
    virtual void ComboResetContent(int id) = 0;
    virtual void ComboAddString(int id, const std::string& line) = 0;
    virtual void ComboDeleteString(int id, int index) = 0;
    virtual void ComboSetCurSel(int id, int index) = 0;
    virtual int ComboGetCurSel(int id) = 0;
    virtual int ComboGetCount(int id) = 0;

    // Checks radio button checked of the group first..last and unchecks the others; 0 checks
    // none.
    virtual void CheckRadioButton(int first, int last, int checked) = 0;
    // The checked radio button of first..last, 0 when none is.
    virtual int GetCheckedRadioButton(int first, int last) = 0;

    // Starts (or restarts) timer id with period; the host then routes WM_TIMER to the dialog.
    virtual void SetTimer(int id, unsigned periodMs) = 0;
    virtual void KillTimer(int id) = 0;

    // Marks control id (0: the whole dialog) for repainting, with erase.
    virtual void InvalidateControl(int id) = 0;
    // Paints whatever is marked for repainting before returning.
    virtual void UpdateWindow() = 0;

    // String resource id of the program; empty when it has none.
    virtual std::string LoadString(int id) = 0;
    // Appends a separator and then item text with command id to the system menu; false (and
    // nothing appended) when the window has no system menu.
    virtual bool AppendSystemMenuItem(const std::string& text, unsigned command) = 0;
    // Sets icon resource id as the window's big and then its small icon.
    virtual void SetIcon(int resourceId) = 0;

    // The height of a window caption (SM_CYCAPTION).
    virtual int CaptionHeight() = 0;
    // Resizes the dialog window, its position and z-order kept.
    virtual void SetWindowSize(int width, int height) = 0;

    // Offers the system's formatter for drive (drive number: A is 0), owned by this dialog.
    // Called by the test's worker.
    virtual void OfferFormat(int driveNumber, const std::string& drive) = 0;

    // Runs the dialog of template id modally, owned by this one: the host makes its windows,
    // calls onInit with the new dialog's host, and returns the dialog's result once it ends.
    virtual int RunModalDialog(int templateId, std::function<bool(IDialogHost&)> onInit) = 0;
    // Ends the dialog with result; the host destroys its windows when the handler returns.
    virtual void EndDialog(int result) = 0;
};

} // namespace corvane
