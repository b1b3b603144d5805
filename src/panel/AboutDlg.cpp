#include "panel/AboutDlg.h"

#include "common/Dpi.h"
#include "resources/resource.h"

CAboutDlg::CAboutDlg(HWND parent)
    : CDialog(IDD_ABOUTBOX, parent)
{
}

BOOL CAboutDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    // The layout's icon comes at the system's scale; the box may open on a
    // screen of another.
    ShowIcon(DpiOfWindow(m_hWnd));
    return result;
}

void CAboutDlg::OnDpiChanged(UINT dpi)
{
    ShowIcon(dpi);
}

void CAboutDlg::ShowIcon(UINT dpi)
{
    const HICON icon = LoadIconForDpi(::GetModuleHandleW(nullptr), IDR_MAINFRAME, kBigIconMetrics, dpi);
    if (!icon)
        return;
    ::SendDlgItemMessageW(m_hWnd, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    m_icon.Reset(icon); // the one it replaces was the layout's shared copy, or ours
}
