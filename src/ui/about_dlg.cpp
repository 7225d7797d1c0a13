#include "ui/about_dlg.h"

#include "ui/dialog_templates.h"

namespace corvane {

int CAboutDlg::DoModal(IDialogHost& owner) {
    return owner.RunModalDialog(kIddAboutBox,
                                [this](IDialogHost& host) { return OnInitDialog(host); });
}

bool CAboutDlg::OnInitDialog(IDialogHost&) {
    return true;
}

} // namespace corvane
