#pragma once
// Resource ids shared by corvane.rc and the program's code.

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDR_MAINFRAME 101
#define IDD_CORVANE_DIALOG 350

#define IDC_ABOUT_TITLE 1541
#define IDC_ABOUT_WEB 1098
#define IDC_TITLE 1666

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
