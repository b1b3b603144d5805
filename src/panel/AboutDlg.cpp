#include "panel/AboutDlg.h"

#include "resources/resource.h"

CAboutDlg::CAboutDlg(HWND parent)
    : CDialog(IDD_ABOUTBOX, parent)
{
}
