#pragma once
#include "ui/dialog_host.h"

namespace corvane {

// The About box: template 100 and nothing of its own; the Escape and Enter keys and the
// caption's close button end it.
class CAboutDlg {
public:
    // Runs the box modally over owner's host; returns the dialog's result.
    int DoModal(IDialogHost& owner);
    // Nothing beyond what the template shows; the first control with a tab stop takes the focus.
    bool OnInitDialog(IDialogHost& host);
};

} // namespace corvane
