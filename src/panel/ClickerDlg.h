#pragma once
#include <windows.h>
#include <shellapi.h>

#include "common/ScopedHandles.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "panel/ClickEngine.h"
#include "panel/ElevatedRestart.h"
#include "panel/NotificationArea.h"
#include "settings/ClickerSettings.h"
#include "settings/Handover.h"

class IDesktop;

// Posted by a second copy to the running panel's window: show yourself and
// come to the front. A registered message, which an elevated panel admits
// from a second copy that is not.
constexpr wchar_t kShowPanelMessage[] = L"vexo show panel";

// Private message the panel posts itself when its scale changes, so that its
// art is made once the dialog manager has laid it out again; wParam is the
// new scale in dots per inch.
constexpr UINT WM_REMAKEART = WM_USER + 2;

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

// The clicker panel: the program's one window. It keeps the controls, their
// exchange, the settings file and the art, and wires Windows' messages to
// its parts: the click engine, the notification area's icons and the
// restart as administrator.
class CClickerDlg : public CDialog {
public:
    // Where this copy takes the place of a running one, the values it handed
    // over stand in for the settings file's and the radius and turns shown.
    CClickerDlg(IDesktop& desktop, const CText& appName, const Takeover* takeover = nullptr, HWND parent = nullptr);

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

    // Starts the program again as administrator, handing it what the panel
    // shows; this copy ends once the new one has it. The panel is shown and
    // in front while Windows asks for consent; refused, it goes back where
    // it was.
    void RestartElevated();
    // Shown and in front at a second copy's request.
    void ShowFromOutside();

    // Timer, tray, settings and property are released exactly once, when the
    // window is destroyed or the session ends, whichever comes first.
    void ReleasePanel();

    void MakeArt(UINT dpi);
    void ShowPicture();
    // The six values as the panel shows them, with the period given.
    ClickerValues Values(UINT period) const;
    // The period the speed bar shows, which the next tick takes up.
    UINT ShownPeriod() const;

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
    CBitmapHandle m_picture; // scaled for the picture's control
    CNotificationArea m_tray;
    // Taken over from a copy that ran as another user account.
    bool m_bFromAnotherUser;
    // Where the clicker is not elevated: the watch for windows that drop its
    // input, and the restart as administrator that the system menu offers.
    CElevatedRestart m_restart;
};
