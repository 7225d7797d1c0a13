#pragma once
// The Windows API for the dialog host, without the macros that would rename the portable
// window's members: <windows.h> maps MessageBox, DrawText, CreateFont, LoadString,
// SetDlgItemText, GetDlgItemText and SendDlgItemMessage to their A or W functions, and a header
// of ours read after it would declare them under those names. This host calls the A functions
// by their own names.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#undef MessageBox
#undef DrawText
#undef CreateFont
#undef LoadString
#undef SetDlgItemText
#undef GetDlgItemText
#undef SendDlgItemMessage
