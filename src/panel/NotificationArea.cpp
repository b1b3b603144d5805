#include "panel/NotificationArea.h"

#include "common/Dpi.h"
#include "platform/Desktop.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#ifndef _WIN64
// The shell gets the first form of the record for the tray icon, in its wide
// version: every Windows since 2000 takes it, and the tip reaches the shell
// as UTF-16.
// NOLINTNEXTLINE(readability-magic-numbers): the size itself is what is checked
static_assert(NOTIFYICONDATAW_V1_SIZE == 152, "first form of the wide tray record is 152 bytes");
#endif

const wchar_t kTrayTip[] = L"벡소빨라 V1.0";

namespace {

// Copies as much of the text as fits, with its terminating zero.
template <size_t N>
void CopyInto(wchar_t (&field)[N], const CText& text)
{
    const size_t length = std::min(text.GetLength(), N - 1);
    std::wmemcpy(field, text.GetString(), length);
    field[length] = L'\0';
}

// A record naming one of the panel's icons, in the form that carries
// notifications.
NOTIFYICONDATAW IconRecord(HWND panel, UINT id)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = sizeof record;
    record.hWnd = panel;
    record.uID = id;
    return record;
}

} // namespace

CNotificationArea::CNotificationArea(IDesktop& desktop)
    : m_desktop(desktop)
    , m_nid()
    , m_nTaskbarCreated(::RegisterWindowMessageW(L"TaskbarCreated"))
{
}

void CNotificationArea::Attach(HWND panel, HICON fallbackIcon)
{
    m_hPanel = panel;
    m_hFallbackIcon = fallbackIcon;
}

bool CNotificationArea::AddTrayIcon()
{
    if (m_bInTray)
        return false;
    std::memset(&m_nid, 0, sizeof m_nid);
    m_nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    m_nid.hWnd = m_hPanel;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = kTrayIconFlags;
    m_nid.uCallbackMessage = WM_TRAYNOTIFY;
    // The notification area shows icons at the small-icon size of its own
    // scale, which in a per-monitor program need not be the panel's.
    m_nTrayDpi = m_desktop.GetNotificationAreaDpi();
    m_nid.hIcon = IconForScale(m_trayIcon, m_nTrayDpi);
    static_assert(sizeof kTrayTip <= sizeof m_nid.szTip, "tray tip fits with its terminating zero");
    std::memcpy(m_nid.szTip, kTrayTip, sizeof kTrayTip);
    m_desktop.ShellNotifyIcon(NIM_ADD, &m_nid);
    m_bInTray = TRUE;
    RemoveNoticeIcon();
    return true;
}

bool CNotificationArea::DeleteTrayIcon()
{
    if (!m_bInTray)
        return false;
    m_bInTray = FALSE;
    m_desktop.ShellNotifyIcon(NIM_DELETE, &m_nid);
    return true;
}

HICON CNotificationArea::IconForScale(CIconHandle& image, UINT dpi) const
{
    image.Reset(LoadIconForDpi(::GetModuleHandleW(nullptr), IDR_MAINFRAME, kSmallIconMetrics, dpi));
    return image.Get() ? image.Get() : m_hFallbackIcon;
}

void CNotificationArea::RefreshTrayIcon(DWORD message)
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

bool CNotificationArea::OnMessage(UINT message)
{
    if (message == m_nTaskbarCreated) {
        // Without the icon a hidden panel could only be reached by starting
        // a second copy.
        RefreshTrayIcon(NIM_ADD);
        // The notice icon went with the old taskbar, and its notification
        // with it: the next notice adds it again.
        m_bNoticeIcon = false;
        return true;
    }
    if (message == WM_DISPLAYCHANGE || message == WM_SETTINGCHANGE)
        RefreshTrayIcon(NIM_MODIFY);
    return false;
}

void CNotificationArea::Notify(const wchar_t* title, const CText& text)
{
    NOTIFYICONDATAW notice = IconRecord(m_hPanel, m_bInTray ? kTrayIconId : kNoticeIconId);
    notice.uFlags = NIF_INFO;
    notice.dwInfoFlags = NIIF_WARNING;
    CopyInto(notice.szInfoTitle, title);
    CopyInto(notice.szInfo, text);
    // The tray icon, or the notice icon already there, only takes the
    // notification: its image, tip and menu stay.
    if (m_bInTray || m_bNoticeIcon) {
        m_desktop.ShellNotifyIcon(NIM_MODIFY, &notice);
        return;
    }
    notice.uFlags |= NIF_MESSAGE | NIF_ICON | NIF_TIP;
    notice.uCallbackMessage = WM_TRAYNOTIFY;
    notice.hIcon = IconForScale(m_noticeIcon, m_desktop.GetNotificationAreaDpi());
    CopyInto(notice.szTip, title);
    m_bNoticeIcon = m_desktop.ShellNotifyIcon(NIM_ADD, &notice) != FALSE;
}

void CNotificationArea::RemoveNoticeIcon()
{
    if (!m_bNoticeIcon)
        return;
    m_bNoticeIcon = false;
    NOTIFYICONDATAW notice = IconRecord(m_hPanel, kNoticeIconId);
    m_desktop.ShellNotifyIcon(NIM_DELETE, &notice);
}

TrayEvent CNotificationArea::Interpret(WPARAM iconId, LPARAM event)
{
    // A notification that timed out or was closed may still wait in the
    // notification centre, where choosing it comes as this same event: the
    // notice icon stays for it.
    if (event == NIN_BALLOONUSERCLICK)
        return TrayEvent::NotificationChosen;
    // The menu is the hidden panel's, on its own icon.
    if (event == WM_RBUTTONUP && iconId != kNoticeIconId)
        return TrayEvent::Menu;
    return TrayEvent::None;
}
