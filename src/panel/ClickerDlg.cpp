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

} // namespace

CClickerDlg::CClickerDlg(IDesktop& desktop, const CText& appName, const ClickerValues* handedOver, HWND parent)
    : CDialog(IDD_CLICKER, parent)
    , m_bInTray(FALSE)
    , m_nid()
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
    , m_nTrayDpi(0)
    , m_nTaskbarCreated(::RegisterWindowMessageW(L"TaskbarCreated"))
    , m_blocked(desktop)
    , m_bElevated(false)
    , m_bNoticeIcon(false)
    , m_bHandingOver(false)
    , m_nHandoverTaken(::RegisterWindowMessageW(kHandoverTakenMessage))
{
    if (handedOver)
        m_settings.TakeHandedOver(*handedOver);
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
    m_bElevated = m_desktop.IsProcessElevated() != FALSE;
    if (!m_bElevated)
        m_blocked.Start(m_desktop.GetOwnIntegrityLevel());

    const HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (systemMenu) {
        wchar_t text[kMenuTextCapacity] = L"";
        if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, ARRAYSIZE(text)) > 0) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
        }
        if (!m_bElevated && ::LoadStringW(::GetModuleHandleW(nullptr), IDS_RESTART_ELEVATED, text, ARRAYSIZE(text)) > 0)
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

    m_bInTray = FALSE;

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
    if (message == m_nHandoverTaken) {
        // The copy started as administrator has the values: this one ends,
        // as the tray menu's exit ends it.
        if (m_bHandingOver)
            ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return true;
    }
    if (message == WM_REMAKEART) {
        MakeArt(static_cast<UINT>(wParam));
        return true;
    }
    if (message == m_nTaskbarCreated) {
        // A re-created taskbar has forgotten the icon; without it a hidden
        // panel could only be reached by starting a second copy.
        RefreshTrayIcon(NIM_ADD);
        return true;
    }
    // The notification area's scale may have changed with the screens'.
    if (message == WM_DISPLAYCHANGE || message == WM_SETTINGCHANGE)
        RefreshTrayIcon(NIM_MODIFY);
    return false;
}

void CClickerDlg::OnDpiChanged(UINT dpi)
{
    ::PostMessageW(m_hWnd, WM_REMAKEART, dpi, 0);
    RefreshTrayIcon(NIM_MODIFY);
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
        // The copy started as administrator never came for the values.
        EndHandover();
        return;
    }
    if (!m_bReady)
        return;
    const bool wasClicking = m_engine.IsClicking();
    // The period the speed bar shows, which the engine follows.
    const UINT period = static_cast<UINT>(m_sbSpeed.GetScrollPos()) * kMillisecondsPerStep;
    if (!m_engine.Tick(timerId, Values(period), m_nRadius))
        return;
    // Clicking started afresh tells of every blocked window once more.
    if (m_engine.IsClicking() && !wasClicking)
        m_blocked.ForgetReported();
    if (m_engine.IsClicking())
        TellOfBlockedWindow(m_blocked.CheckPoint(m_engine.ClickPoint()));
    // A blocked window in front hides every key from the clicker, the start
    // key too, so it is looked for whether clicking runs or not.
    TellOfBlockedWindow(m_blocked.CheckForeground());
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
    RemoveNoticeIcon();
    m_settings.WriteAll(Values(m_engine.Interval()));
    EndHandover();
    ::RemovePropW(m_hWnd, m_strAppName.GetString());
}

ClickerValues CClickerDlg::Values(UINT period) const
{
    return {m_cbStartKey.GetCurSel(), m_cbEndKey.GetCurSel(), m_cbToggleKey.GetCurSel(), static_cast<int>(period),
            m_bAuto, m_bToggle};
}
