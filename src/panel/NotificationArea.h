#pragma once
#include <windows.h>
#include <shellapi.h>

#include "common/ScopedHandles.h"
#include "common/Text.h"

class IDesktop;

// Private message the panel's icons send it; wParam is the icon's
// identifier, lParam the mouse or notification event.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;

// The tray icon: identifier, flags and tip.
constexpr UINT kTrayIconId = 128;
constexpr UINT kTrayIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
extern const wchar_t kTrayTip[];

// The icon that tells of a blocked window while the panel is shown: there
// as long as its notification can still be chosen.
constexpr UINT kNoticeIconId = 129;

// What a message from one of the icons asks of the panel.
enum class TrayEvent {
    None,               // nothing: a move, a left click, a notification gone by
    Menu,               // the tray icon's menu, on the right button's release
    NotificationChosen, // the user chose a notification
};

// The panel's icons in the taskbar's notification area: the tray icon while
// the panel hides there, and the notice icon that carries a notification
// while the panel is shown. Icons are made at the small-icon size of the
// notification area's own scale, given again when that scale changes, and
// added again when Explorer comes back with a new taskbar.
class CNotificationArea {
public:
    explicit CNotificationArea(IDesktop& desktop);

    // The panel the icons belong to, and its icon, shown where an image of
    // the right size cannot be made.
    void Attach(HWND panel, HICON fallbackIcon);
    void SetFallbackIcon(HICON icon) { m_hFallbackIcon = icon; }

    // Adds the tray icon; false, and nothing changes, when it is there. The
    // tray icon then carries the notifications, and the notice icon goes.
    bool AddTrayIcon();
    // False when there was no tray icon.
    bool DeleteTrayIcon();
    bool IsInTray() const { return m_bInTray != FALSE; }

    // A notification with a warning icon, which takes no focus: from the
    // tray icon while there is one, else from the notice icon.
    void Notify(const wchar_t* title, const CText& text);
    void RemoveNoticeIcon();

    // Windows' messages about the notification area; true when it was one.
    // Explorer's new taskbar has forgotten every icon; a new scale of the
    // screens may have changed the area's own.
    bool OnMessage(UINT message);
    UINT TaskbarCreatedMessage() const { return m_nTaskbarCreated; }

    static TrayEvent Interpret(WPARAM iconId, LPARAM event);

    // The tray icon's image given again where the area's scale changed
    // (NIM_MODIFY), or the icon added again (NIM_ADD).
    void RefreshTrayIcon(DWORD message);

private:
    // The program icon at the area's small-icon size, kept in 'image', or the
    // fallback where that cannot be made.
    HICON IconForScale(CIconHandle& image, UINT dpi) const;

    IDesktop& m_desktop;
    HWND m_hPanel = nullptr;
    HICON m_hFallbackIcon = nullptr;
    NOTIFYICONDATAW m_nid;
    BOOL m_bInTray = FALSE;
    CIconHandle m_trayIcon; // at the small-icon size of the area's scale
    UINT m_nTrayDpi = 0;    // the scale m_trayIcon was made for
    bool m_bNoticeIcon = false;
    CIconHandle m_noticeIcon;
    // Sent by the shell to every top-level window when the taskbar is re-created.
    const UINT m_nTaskbarCreated;
};
