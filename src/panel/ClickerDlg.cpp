#include "panel/ClickerDlg.h"

#include "common/Dpi.h"
#include "framework/DataExchange.h"
#include "panel/AboutDlg.h"
#include "panel/PanelPicture.h"
#include "platform/Desktop.h"
#include "resources/resource.h"
#include "settings/Handover.h"

#include <algorithm>

#ifndef _WIN64
// The 32-bit program's members have the widths the panel was laid out with.
static_assert(sizeof(UINT_PTR) == 4 && sizeof(UINT) == 4 && sizeof(BOOL) == 4, "32-bit timer id, period and flags");
// NOLINTNEXTLINE(readability-magic-numbers): the size itself is what is checked
static_assert(sizeof(POINT) == 8, "two signed 32-bit coordinates");
#endif

namespace {

// Value of the application-name property while the panel window exists.
const HANDLE kPropertyValue = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1));

// Room for the text of an item of the system menu.
constexpr int kMenuTextCapacity = 128;

// Registered messages are numbered from here up. Only they can be a second
// copy's request to show the panel, whose number is looked up for them
// alone, which happens seldom.
constexpr UINT kFirstRegisteredMessage = 0xC000;

bool IsShowRequest(UINT message)
{
    return message >= kFirstRegisteredMessage && message == ::RegisterWindowMessageW(kShowPanelMessage);
}

// Whether a trigger key could act: the Auto box on with a start key that is
// tested, or the Toggle box on with a toggle key. From the values the tick
// already read, so that watching adds no query of the lists.
bool TriggerKeysCouldAct(const ClickerValues& shown)
{
    return (shown.autoOn && shown.start > 0) || (shown.toggleOn && shown.toggle > 0);
}

} // namespace

CClickerDlg::CClickerDlg(IDesktop& desktop, const CText& appName, const Takeover* takeover, HWND parent)
    : CDialog(IDD_CLICKER, parent)
    , m_bReady(FALSE)
    , m_nSpeedPos(0)
    , m_nRadius(kDefaultRadius)
    , m_nTurns(kDefaultTurns)
    , m_bAuto(0)
    , m_bToggle(0)
    , m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)))
    , m_desktop(desktop)
    , m_engine(desktop)
    , m_strAppName(appName)
    , m_settings(appName)
    , m_bReleased(false)
    , m_tray(desktop)
    , m_bFromAnotherUser(takeover && takeover->fromAnotherUser)
    , m_restart(desktop, m_tray, appName)
{
    if (!takeover)
        return;
    m_settings.TakeHandedOver(takeover->values.saved);
    // Shown by the first exchange, within the up-downs' range.
    m_nRadius = std::min(std::max(takeover->values.radius, kSpinMin), kSpinMax);
    m_nTurns = std::min(std::max(takeover->values.turns, kSpinMin), kSpinMax);
}

void CClickerDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Control(dx, IDC_TURNS_SPIN, m_spinTurns);
    DDX_Control(dx, IDC_RADIUS_SPIN, m_spinRadius);
    DDX_Control(dx, IDC_TOGGLE_KEY, m_cbToggleKey);
    DDX_Control(dx, IDC_END_KEY, m_cbEndKey);
    DDX_Control(dx, IDC_START_KEY, m_cbStartKey);
    DDX_Control(dx, IDC_SPEED, m_sbSpeed);
    DDX_Text(dx, IDC_SPEED_TEXT, m_strSpeed);
    DDX_Scroll(dx, IDC_SPEED, m_nSpeedPos);
    DDX_Text(dx, IDC_RADIUS, m_nRadius);
    DDX_Text(dx, IDC_TURNS, m_nTurns);
    DDX_Check(dx, IDC_AUTO_ON, m_bAuto);
    DDX_Check(dx, IDC_TOGGLE_ON, m_bToggle);
}

BOOL CClickerDlg::OnInitDialog()
{
    // Lists and first exchange; the panel comes up even if that failed.
    CDialog::OnInitDialog();

    // Where the clicker is not elevated, windows of elevated programs drop
    // its input: it watches for them, and offers to restart as administrator.
    m_restart.Start(m_hWnd);
    m_tray.Attach(m_hWnd, m_hIcon);
    if (m_restart.IsElevated()) {
        // Windows keeps messages of programs at lower levels from an elevated
        // one's windows: the panel admits a second copy's request to show it,
        // Explorer's word that it made a new taskbar, and its icons' messages.
        for (const UINT message :
             {::RegisterWindowMessageW(kShowPanelMessage), m_tray.TaskbarCreatedMessage(), WM_TRAYNOTIFY})
            m_desktop.ChangeWindowMessageFilterEx(m_hWnd, message, MSGFLT_ALLOW);
        // The virtual store is that of the account this copy runs as, which
        // after a restart may be another than the one whose copy it replaced.
        if (!m_bFromAnotherUser)
            m_settings.UseVirtualStoreCopy();
    }

    const HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (systemMenu) {
        wchar_t text[kMenuTextCapacity] = L"";
        if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, ARRAYSIZE(text)) > 0) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
        }
        if (!m_restart.IsElevated() && ::LoadStringW(::GetModuleHandleW(nullptr), IDS_RESTART_ELEVATED, text, ARRAYSIZE(text)) > 0)
            ::AppendMenuW(systemMenu, MF_STRING, IDM_RESTART_ELEVATED, text);
    }

    MakeArt(DpiOfWindow(m_hWnd));

    const int startKey = m_settings.ReadInt(SettingsKey::kStart, SettingsDefault::kStart);
    const int endKey = m_settings.ReadInt(SettingsKey::kEnd, SettingsDefault::kEnd);
    const int toggleKey = m_settings.ReadInt(SettingsKey::kToggle, SettingsDefault::kToggle);
    UINT interval = static_cast<UINT>(m_settings.ReadInt(SettingsKey::kTime, static_cast<int>(SettingsDefault::kTime)));
    // The file is hand-editable: a period outside the bar's range would arm
    // the first timer for minutes or weeks (negative values read as huge
    // unsigned ones) and leave the keys unpolled all that time.
    interval = std::min(std::max(interval, kPeriodMin), kPeriodMax);


    m_sbSpeed.SetScrollRange(kSpeedMin, kSpeedMax, true);
    // The period is within range, so the position is too.
    m_sbSpeed.SetScrollPos(static_cast<int>(interval / kMillisecondsPerStep), true);

    // An index outside the list leaves it without a selection.
    m_cbStartKey.SetCurSel(startKey);
    m_cbEndKey.SetCurSel(endKey);
    m_cbToggleKey.SetCurSel(toggleKey);

    m_engine.Start(m_hWnd, interval);

    UpdateSpeedText();

    m_spinRadius.SetRange(kSpinMin, kSpinMax);
    m_spinTurns.SetRange(kSpinMin, kSpinMax);

    m_bAuto = m_settings.ReadInt(SettingsKey::kAuto, SettingsDefault::kAuto);
    m_bToggle = m_settings.ReadInt(SettingsKey::kToggleOn, SettingsDefault::kToggleOn);
    UpdateData(false);

    OnAutoOnOff();
    OnToggleOnOff();

    ::SetPropW(m_hWnd, m_strAppName.GetString(), kPropertyValue);

    m_bReady = TRUE;
    return TRUE;
}

bool CClickerDlg::OnButtonClicked(int id)
{
    switch (id) {
    case IDC_HIDE:
        OnHide();
        return true;
    case IDC_AUTO_ON:
        OnAutoOnOff();
        return true;
    case IDC_TOGGLE_ON:
        OnToggleOnOff();
        return true;
    default:
        return CDialog::OnButtonClicked(id);
    }
}

bool CClickerDlg::OnCommand(int id, int code, HWND)
{
    if (id != IDC_RADIUS || code != EN_UPDATE)
        return false;
    OnRadiusUpdate();
    return true;
}

bool CClickerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_TRAYNOTIFY) {
        result = OnTrayNotify(wParam, lParam);
        return true;
    }
    if (IsShowRequest(message)) {
        ShowFromOutside();
        return true;
    }
    if (message == WM_REMAKEART) {
        MakeArt(static_cast<UINT>(wParam));
        return true;
    }
    return m_restart.OnMessage(message) || m_tray.OnMessage(message);
}

void CClickerDlg::OnDpiChanged(UINT dpi)
{
    ::PostMessageW(m_hWnd, WM_REMAKEART, dpi, 0);
    m_tray.RefreshTrayIcon(NIM_MODIFY);
}

// The caption's icons and the picture, made for the scale the panel is at:
// at start-up, and again whenever it reaches a screen of another scale.
void CClickerDlg::MakeArt(UINT dpi)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HICON bigIcon = LoadIconForDpi(module, IDR_MAINFRAME, kBigIconMetrics, dpi);
    const HICON smallIcon = LoadIconForDpi(module, IDR_MAINFRAME, kSmallIconMetrics, dpi);
    if (bigIcon)
        m_hIcon = bigIcon;
    m_tray.SetFallbackIcon(m_hIcon);
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    // An image of its own at the caption's size, not the big one shrunk.
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon ? smallIcon : m_hIcon));
    // The old images go only once the window holds the new ones.
    if (bigIcon)
        m_bigIcon.Reset(bigIcon);
    m_smallIcon.Reset(smallIcon);
    ShowPicture();
}

void CClickerDlg::ShowPicture()
{
    const HWND control = GetDlgItem(IDC_PICTURE);
    const HBITMAP picture = MakePanelPicture(control);
    // The control keeps showing the old one where no new one could be made;
    // the old one goes only once the control holds the new one.
    if (picture) {
        ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
        m_picture.Reset(picture);
    }
}

void CClickerDlg::OnTimer(UINT_PTR timerId)
{
    if (timerId == kHandoverTimerId) {
        m_restart.OnHandoverTimer();
        return;
    }
    if (!m_bReady)
        return;
    const bool wasClicking = m_engine.IsClicking();
    // With the period the speed bar shows, which the engine follows.
    const ClickerValues shown = Values(ShownPeriod());
    if (!m_engine.Tick(timerId, shown, m_nRadius))
        return;
    m_restart.AfterTick(m_engine.IsClicking(), wasClicking, m_engine.ClickPoint(), TriggerKeysCouldAct(shown));
}

void CClickerDlg::UpdateSpeedText()
{
    UpdateData(true);
    // The position right-aligned to the maximum's width, as " 15/100".
    const CText maximum = CText::Decimal(kSpeedMax);
    const CText position = CText::Decimal(m_sbSpeed.GetScrollPos());
    CText padding;
    for (size_t length = position.GetLength(); length < maximum.GetLength(); ++length)
        padding += L" ";
    m_strSpeed = padding + position + L"/" + maximum;
    UpdateData(false);
}

void CClickerDlg::OnHScroll(UINT code, UINT position, HWND scrollBar)
{
    if (scrollBar != m_sbSpeed.GetSafeHwnd())
        return;
    // Page steps and the far ends move one step, like the arrows.
    const int current = m_sbSpeed.GetScrollPos();
    switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
    case SB_LEFT:
        m_sbSpeed.SetScrollPos(std::max(current - 1, kSpeedMin), true);
        break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
    case SB_RIGHT:
        m_sbSpeed.SetScrollPos(std::min(current + 1, kSpeedMax), true);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        m_sbSpeed.SetScrollPos(static_cast<int>(position), true);
        break;
    default:
        break;
    }
    // The timer picks up the new period at its next tick.
    UpdateSpeedText();
}

void CClickerDlg::OnRadiusUpdate()
{
    // Before initialisation ends the edit is filled by the first exchange;
    // reading back then would overwrite members not yet shown.
    if (m_bReady)
        UpdateData(true);
}

void CClickerDlg::OnAutoOnOff()
{
    UpdateData(true);
    m_cbStartKey.EnableWindow(m_bAuto != 0);
    m_cbEndKey.EnableWindow(m_bAuto != 0);
}

void CClickerDlg::OnToggleOnOff()
{
    UpdateData(true);
    m_cbToggleKey.EnableWindow(m_bToggle != 0);
}

bool CClickerDlg::OnSysCommand(UINT id, LPARAM)
{
    switch (id & kSystemCommandMask) {
    case IDM_ABOUTBOX: {
        CAboutDlg about(m_hWnd);
        about.DoModal();
        return true;
    }
    case IDM_RESTART_ELEVATED:
        RestartElevated();
        return true;
    default:
        return false;
    }
}

bool CClickerDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd))
        return false;
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int iconWidth = m_desktop.GetSystemMetrics(SM_CXICON);
    const int iconHeight = m_desktop.GetSystemMetrics(SM_CYICON);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
    return true;
}

HICON CClickerDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

bool CClickerDlg::OnEndSession(bool ending)
{
    if (ending)
        ReleasePanel();
    return true;
}

void CClickerDlg::OnDestroy()
{
    ReleasePanel();
}

void CClickerDlg::ReleasePanel()
{
    if (m_bReleased)
        return;
    m_bReleased = true;
    m_engine.Stop();
    LeaveTray();
    m_settings.WriteAll(Values(m_engine.Interval()));
    m_restart.End();
    ::RemovePropW(m_hWnd, m_strAppName.GetString());
}

ClickerValues CClickerDlg::Values(UINT period) const
{
    return {m_cbStartKey.GetCurSel(), m_cbEndKey.GetCurSel(), m_cbToggleKey.GetCurSel(), static_cast<int>(period),
            m_bAuto, m_bToggle};
}

UINT CClickerDlg::ShownPeriod() const
{
    return static_cast<UINT>(m_sbSpeed.GetScrollPos()) * kMillisecondsPerStep;
}

void CClickerDlg::OnHide()
{
    EnterTray();
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CClickerDlg::EnterTray()
{
    if (m_tray.AddTrayIcon())
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
}

void CClickerDlg::LeaveTray()
{
    // The icon goes before the window shows, so the show notification finds
    // the panel already out of the tray.
    if (m_tray.DeleteTrayIcon())
        ::ShowWindow(m_hWnd, SW_SHOW);
}

// Shown from outside while hidden (a second copy brings the panel forward):
// the icon goes, so that icon and window never disagree.
void CClickerDlg::OnShowWindow(bool shown)
{
    if (shown)
        m_tray.DeleteTrayIcon();
}

void CClickerDlg::ShowFromOutside()
{
    ::ShowWindow(m_hWnd, SW_SHOW);
    if (::IsIconic(m_hWnd))
        ::ShowWindow(m_hWnd, SW_RESTORE);
    m_desktop.SetForegroundWindow(::GetLastActivePopup(m_hWnd));
}

LRESULT CClickerDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    // What a tray notification returns, whatever it did.
    constexpr LRESULT kTrayNotifyResult = 1;
    switch (CNotificationArea::Interpret(wParam, lParam)) {
    case TrayEvent::NotificationChosen:
        RestartElevated();
        return kTrayNotifyResult;
    case TrayEvent::Menu:
        break;
    case TrayEvent::None:
    default:
        return kTrayNotifyResult;
    }
    const CMenuHandle menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU)));
    if (!menu.Get())
        return kTrayNotifyResult;
    // The tray menu's popup: its first and only one.
    const HMENU popup = ::GetSubMenu(menu.Get(), 0);
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

void CClickerDlg::RestartElevated()
{
    // Not while a box of the panel's own is open, which would keep the
    // panel from closing when the new copy takes over.
    if (!m_restart.CanRestart() || !::IsWindowEnabled(m_hWnd))
        return;
    // Windows brings the consent prompt up in front only for an owner that
    // is shown and in front (a notification chosen gives the panel the right
    // to take the foreground); refused, the panel goes back where it was.
    const bool wasInTray = m_tray.IsInTray();
    const bool wasMinimised = ::IsIconic(m_hWnd) != FALSE;
    LeaveTray();
    if (wasMinimised)
        ::ShowWindow(m_hWnd, SW_RESTORE);
    m_desktop.SetForegroundWindow(m_hWnd);
    // The period the speed bar shows, which the next tick would take up, and
    // the radius and turns as their up-downs show them.
    const HandedOverValues values = {Values(ShownPeriod()), m_spinRadius.GetPos(), m_spinTurns.GetPos()};
    if (m_restart.Restart(values))
        return;
    if (wasInTray)
        OnHide();
    else if (wasMinimised)
        ::ShowWindow(m_hWnd, SW_MINIMIZE);
}
