#include "hosts/win32/placeholder_main_dialog.h"

#include <windows.h>

#include "hosts/win32/resource.h"
#include "hosts/win32/win32_front_end.h"

namespace corvane::win32 {
namespace {

// PLACEHOLDER: this stands in for the main window until the real one (the drive panel, the
// test map and the test controls on a Win32 dialog host) replaces it. It shows the frame of
// template 350 with the product caption and closes with its Close button, the caption's close
// box or Escape.
INT_PTR CALLBACK PlaceholderProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* frontEnd = reinterpret_cast<Win32FrontEnd*>(lParam);
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        frontEnd->SetOwner(dialog);
        HICON icon = ::LoadIconA(frontEnd->Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
        ::SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        ::SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        ::EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        if (auto* frontEnd =
                reinterpret_cast<Win32FrontEnd*>(::GetWindowLongPtrA(dialog, DWLP_USER)))
            frontEnd->SetOwner(nullptr);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool RunPlaceholderMainDialog(Win32FrontEnd& frontEnd, CCorvaneApp&) {
    const INT_PTR result =
        ::DialogBoxParamA(frontEnd.Instance(), MAKEINTRESOURCEA(IDD_CORVANE_DIALOG), nullptr,
                          PlaceholderProc, reinterpret_cast<LPARAM>(&frontEnd));
    return result != -1;
}

} // namespace corvane::win32
