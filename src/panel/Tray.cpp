#include "panel/ClickerDlg.h"

#include "common/Dpi.h"
#include "platform/Desktop.h"
#include "resources/resource.h"

#include <cstring>

#ifndef _WIN64
// The shell gets the first form of the record, in its wide version: every
// Windows since 2000 takes it, and the tip reaches the shell as UTF-16.
// NOLINTNEXTLINE(readability-magic-numbers): the size itself is what is checked
static_assert(NOTIFYICONDATAW_V1_SIZE == 152, "first form of the wide tray record is 152 bytes");
#endif

const wchar_t kTrayTip[] = L"벡소빨라 V1.0";

namespace {

// What a tray notification returns, whatever it did.
constexpr LRESULT kTrayNotifyResult = 1;
// The tray menu's popup: its first and only one.
constexpr int kTrayPopupIndex = 0;

} // namespace

void CClickerDlg::OnHide()
{
    EnterTray();
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CClickerDlg::EnterTray()
{
    if (m_bInTray)
        return;
    std::memset(&m_nid, 0, sizeof m_nid);
    m_nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    m_nid.hWnd = m_hWnd;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = kTrayIconFlags;
    m_nid.uCallbackMessage = WM_TRAYNOTIFY;
    // The notification area shows icons at the small-icon size of its own
    // scale, which in a per-monitor program need not be the panel's.
    m_nTrayDpi = m_desktop.GetNotificationAreaDpi();
    m_nid.hIcon = NotificationAreaIcon(m_trayIcon, m_nTrayDpi);
    static_assert(sizeof kTrayTip <= sizeof m_nid.szTip, "tray tip fits with its terminating zero");
    std::memcpy(m_nid.szTip, kTrayTip, sizeof kTrayTip);
    m_desktop.ShellNotifyIcon(NIM_ADD, &m_nid);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    m_bInTray = TRUE;
}

HICON CClickerDlg::NotificationAreaIcon(CIconHandle& image, UINT dpi) const
{
    image.Reset(LoadIconForDpi(::GetModuleHandleW(nullptr), IDR_MAINFRAME, kSmallIconMetrics, dpi));
    return image.Get() ? image.Get() : m_hIcon;
}

void CClickerDlg::LeaveTray()
{
    // The icon goes before the window shows, so the show notification finds
    // the panel already out of the tray.
    if (DeleteTrayIcon())
        ::ShowWindow(m_hWnd, SW_SHOW);
}

// Shown from outside while hidden (a second copy brings the panel forward):
// the icon goes, so that icon and window never disagree.
void CClickerDlg::OnShowWindow(bool shown)
{
    if (shown)
        DeleteTrayIcon();
}

bool CClickerDlg::DeleteTrayIcon()
{
    if (!m_bInTray)
        return false;
    m_bInTray = FALSE;
    m_desktop.ShellNotifyIcon(NIM_DELETE, &m_nid);
    return true;
}

// While the icon is there: gives it again (NIM_MODIFY) in the size of the
// notification area's scale where that changed, or adds it again (NIM_ADD)
// to a taskbar that was re-created, at the scale the new one has.
void CClickerDlg::RefreshTrayIcon(DWORD message)
{
    if (!m_bInTray)
        return;
    const UINT dpi = m_desktop.GetNotificationAreaDpi();
    const HICON icon =
        dpi == m_nTrayDpi ? nullptr : LoadIconForDpi(::GetModuleHandleW(nullptr), IDR_MAINFRAME, kSmallIconMetrics, dpi);
    if (icon) {
        m_nTrayDpi = dpi;
        m_nid.hIcon = icon;
    }
    if (icon || message == NIM_ADD)
        m_desktop.ShellNotifyIcon(message, &m_nid);
    // The old image goes once the shell has the new one.
    if (icon)
        m_trayIcon.Reset(icon);
}

LRESULT CClickerDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    // A notification chosen starts the program again as administrator; the
    // notice icon goes with its notification, however that ended.
    const bool noticeIcon = wParam == kNoticeIconId;
    if (lParam == NIN_BALLOONUSERCLICK || (noticeIcon && (lParam == NIN_BALLOONTIMEOUT || lParam == NIN_BALLOONHIDE))) {
        if (noticeIcon)
            RemoveNoticeIcon();
        if (lParam == NIN_BALLOONUSERCLICK)
            RestartElevated();
        return kTrayNotifyResult;
    }
    // The menu is the hidden panel's, on its own icon.
    if (lParam != WM_RBUTTONUP || noticeIcon)
        return kTrayNotifyResult;
    const CMenuHandle menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU)));
    if (!menu.Get())
        return kTrayNotifyResult;
    const HMENU popup = ::GetSubMenu(menu.Get(), kTrayPopupIndex);
    POINT cursor = {0, 0};
    m_desktop.GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere.
    ::SetForegroundWindow(m_hWnd);
    const UINT choice = static_cast<UINT>(::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON |
                                                                      TPM_RETURNCMD,
                                                           cursor.x, cursor.y, 0, m_hWnd, nullptr));
    // Lets the menu's owner settle after the menu closed.
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    if (choice == ID_TRAY_SHOW)
        LeaveTray();
    else if (choice == ID_TRAY_EXIT)
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return kTrayNotifyResult;
}
