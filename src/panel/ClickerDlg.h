#pragma once
#include <windows.h>
#include <shellapi.h>

#include "common/ScopedHandles.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "panel/BlockedWindowWatch.h"
#include "panel/ClickEngine.h"
#include "settings/ClickerSettings.h"

class IDesktop;

// Private message the tray icon sends to the panel; lParam is the mouse message.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;

// Private message the panel posts itself when its scale changes, so that its
// art is made once the dialog manager has laid it out again; wParam is the
// new scale in dots per inch.
constexpr UINT WM_REMAKEART = WM_USER + 2;

// The timer on which a handover offered to a copy started as administrator
// is withdrawn when that copy does not come to take it.
constexpr UINT_PTR kHandoverTimerId = 2;

// Speed bar: position p stands for a period of p * kMillisecondsPerStep.
constexpr int kSpeedMin = 1;
constexpr int kSpeedMax = 100;
constexpr unsigned kMillisecondsPerStep = 10;
constexpr unsigned kPeriodMin = kSpeedMin * kMillisecondsPerStep;
constexpr unsigned kPeriodMax = kSpeedMax * kMillisecondsPerStep;

// Up-down controls of the radius and turns edits, and what they show first.
constexpr int kSpinMin = 1;
constexpr int kSpinMax = 10;
constexpr int kDefaultRadius = 8;
constexpr int kDefaultTurns = 1;

// The tray icon: identifier, flags and tip.
constexpr UINT kTrayIconId = 128;
constexpr UINT kTrayIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
extern const wchar_t kTrayTip[];

// The icon that tells of a blocked window while the panel is shown: there
// only as long as its notification is.
constexpr UINT kNoticeIconId = 129;

// The clicker panel: the program's one window, which hands its controls'
// values to the click engine at every tick, and the tray icon.
class CClickerDlg : public CDialog {
public:
    // Where this copy takes the place of a running one, the values it handed
    // over stand in for the settings file's.
    CClickerDlg(IDesktop& desktop, const CText& appName, const ClickerValues* handedOver = nullptr,
                HWND parent = nullptr);

private:
    // Tests drive the panel with the messages Windows sends it and read what
    // it shows; this type, theirs, reaches the one state no message can set.
    friend class CClickerDlgTestAccess;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    // Hands the period timer's ticks to the engine.
    void OnTimer(UINT_PTR timerId) override;
    void OnHScroll(UINT code, UINT position, HWND scrollBar) override;
    bool OnSysCommand(UINT id, LPARAM cursor) override;
    bool OnPaint() override; // only the minimised panel is drawn here
    HICON OnQueryDragIcon() override;
    void OnShowWindow(bool shown) override;
    bool OnEndSession(bool ending) override; // the process may end without the modal loop returning
    void OnDestroy() override;
    void OnDpiChanged(UINT dpi) override;
    bool OnButtonClicked(int id) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void UpdateSpeedText();
    void OnRadiusUpdate();
    void OnAutoOnOff();
    void OnToggleOnOff();
    void OnHide();
    void EnterTray();
    void LeaveTray();
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);

    // Starts the program again as administrator, handing it the keys, the
    // period and the boxes as the panel shows them; this copy ends once the
    // new one has them. Refused consent changes nothing.
    void RestartElevated();

    // Timer, tray, settings and property are released exactly once, when the
    // window is destroyed or the session ends, whichever comes first.
    void ReleasePanel();

    void MakeArt(UINT dpi);
    void ShowPicture();
    void RefreshTrayIcon(DWORD message);
    bool DeleteTrayIcon(); // false when there was no icon
    // The six values as the panel shows them, with the period given.
    ClickerValues Values(UINT period) const;
    // The program icon at the notification area's small-icon size, kept in
    // 'image', or the panel's own where that cannot be made.
    HICON NotificationAreaIcon(CIconHandle& image, UINT dpi) const;
    void TellOfBlockedWindow(HWND window);
    void RemoveNoticeIcon();
    void EndHandover();

    BOOL m_bInTray;
    NOTIFYICONDATAW m_nid;
    BOOL m_bReady;
    CSpinButton m_spinTurns;
    CSpinButton m_spinRadius;
    CComboBox m_cbToggleKey;
    CComboBox m_cbEndKey;
    CComboBox m_cbStartKey;
    CScrollBar m_sbSpeed;
    CText m_strSpeed;
    int m_nSpeedPos;
    int m_nRadius;
    int m_nTurns;
    int m_bAuto;
    int m_bToggle;
    HICON m_hIcon;
    IDesktop& m_desktop;
    CClickEngine m_engine;
    CText m_strAppName;
    CClickerSettings m_settings;
    bool m_bReleased;
    CIconHandle m_bigIcon;   // m_hIcon once made for the panel's scale
    CIconHandle m_smallIcon; // the caption's, at the small-icon size of that scale
    CIconHandle m_trayIcon;  // at the small-icon size of the notification area's scale
    UINT m_nTrayDpi;         // the scale m_trayIcon was made for
    CBitmapHandle m_picture; // scaled for the picture's control
    // Sent by the shell to every top-level window when the taskbar is re-created.
    const UINT m_nTaskbarCreated;
    // Windows that drop the clicker's input; watched only where it is not
    // elevated, where the system menu offers to restart it as administrator.
    CBlockedWindowWatch m_blocked;
    bool m_bElevated;
    bool m_bNoticeIcon;      // the notice icon is in the notification area
    CIconHandle m_noticeIcon;
    bool m_bHandingOver;     // a copy started as administrator may take over
    const UINT m_nHandoverTaken;
};
