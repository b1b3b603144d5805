#include "panel/ClickEngine.h"

#include "platform/Desktop.h"

#include <cmath>

namespace {

// The centre sits at this fraction of the screen height, a single-precision
// value used widened to double.
constexpr float kCentreHeightFactorSingle = 0.6066666841506958f;
constexpr double kCentreHeightFactor = kCentreHeightFactorSingle;

// Degrees to radians with pi taken as 3.14, in single precision; the sweep's
// points depend on this exact value.
constexpr float kDegreeToRadian = 0.017444444820284843f;

// The centre is one pixel left of the screen's middle.
constexpr int kCentreLeftOfMiddle = 1;

// One pass per lift of the anchor above the centre, in this order.
constexpr int kAnchorLifts[] = {5, 25, 45};

// Rings from radius 1 outwards, 8 apart, while below 8 times the radius.
constexpr int kFirstRingRadius = 1;
constexpr int kRingSpacing = 8;
constexpr int kSweepLimitPerRadius = 8;

// The angle step in degrees: 45 less 3 on the first ring, 3 less on every
// next one, and 5 once it would fall below 1.
constexpr int kFirstStep = 45;
constexpr int kStepDecrease = 3;
constexpr int kSmallestStep = 1;
constexpr int kFallbackStep = 5;
constexpr int kFullCircle = 360;

// Releases at the anchor: one after the centre's press, two after a ring point's.
constexpr int kCentreDragReleases = 1;
constexpr int kRingDragReleases = 2;

} // namespace

CClickEngine::CClickEngine(IDesktop& desktop)
    : m_nTimer(0)
    , m_nInterval(SettingsDefault::kTime)
    , m_bClicking(FALSE)
    , m_ptCenter()
    , m_ptAnchor()
    , m_bSweeping(FALSE)
    , m_bTimerResolutionHeld(false)
    , m_desktop(desktop)
    , m_hWnd(nullptr)
    , m_panel()
    , m_nRadius(0)
{
}

void CClickEngine::Start(HWND window, UINT interval)
{
    m_hWnd = window;
    m_nInterval = interval;
    m_bClicking = FALSE;
    m_bSweeping = FALSE;
    m_nTimer = ::SetTimer(m_hWnd, kPeriodTimerId, m_nInterval, nullptr);
}

void CClickEngine::Stop()
{
    if (m_nTimer != 0) {
        ::KillTimer(m_hWnd, m_nTimer);
        m_nTimer = 0;
    }
    HoldTimerResolution(false);
}

bool CClickEngine::Tick(UINT_PTR timerId, const ClickerValues& panel, int radius)
{
    if (timerId != m_nTimer)
        return false;
    m_panel = panel;
    m_nRadius = radius;

    // Follow the speed bar; the new period applies from the next tick.
    const UINT period = static_cast<UINT>(panel.time);
    if (period != m_nInterval) {
        m_nInterval = period;
        ::KillTimer(m_hWnd, m_nTimer);
        m_nTimer = ::SetTimer(m_hWnd, kPeriodTimerId, m_nInterval, nullptr);
    }

    // Start before end: both in one tick leave clicking off. Every detected
    // press beeps, even when it changes nothing.
    if (panel.start > 0 && panel.autoOn && IsTriggerPressed(panel.start)) {
        m_desktop.MessageBeep(kSimpleBeep);
        m_bClicking = TRUE;
    }
    if (panel.end > 0 && panel.autoOn && IsTriggerPressed(panel.end)) {
        m_desktop.MessageBeep(kSimpleBeep);
        m_bClicking = FALSE;
    }
    HoldTimerResolution(m_bClicking != FALSE);

    // The sweep runs before this tick's click, so the click lands at the
    // sweep's last anchor. Whether sweeping is allowed is the sweep's call.
    if (panel.toggle > 0 && IsTriggerPressed(panel.toggle))
        ToggleSweep();

    if (m_bClicking)
        ClickAtCursor();
    return true;
}

bool CClickEngine::IsTriggerPressed(int keyIndex)
{
    int virtualKey = 0;
    if (keyIndex >= kKeyFirstFunction && keyIndex <= kKeyLastFunction)
        virtualKey = kFunctionKeyBase + keyIndex;
    else if (keyIndex == kKeyLeftButton)
        virtualKey = VK_LBUTTON;
    else if (keyIndex == kKeyRightButton)
        virtualKey = VK_RBUTTON;
    else
        return false;
    // Down now (the top bit), or pressed since the previous query of this key
    // (the lowest): any bit of the state counts.
    constexpr unsigned kKeyStateBits = 0xFFFF;
    return (m_desktop.GetAsyncKeyState(virtualKey) & kKeyStateBits) != 0;
}

void CClickEngine::ClickAtCursor()
{
    m_desktop.GetCursorPos(&m_ptCenter);
    const DWORD x = static_cast<DWORD>(m_ptCenter.x);
    const DWORD y = static_cast<DWORD>(m_ptCenter.y);
    m_desktop.MouseEvent(MOUSEEVENTF_LEFTDOWN, x, y, 0, 0);
    m_desktop.MouseEvent(MOUSEEVENTF_LEFTUP, x, y, 0, 0);
}

// A finer timer resolution costs power (before Windows 10 2004, for the whole
// system), so it is asked for only from the tick where clicking starts to the
// one where it stops, once per run, and always given back.
void CClickEngine::HoldTimerResolution(bool hold)
{
    if (hold == m_bTimerResolutionHeld)
        return;
    m_bTimerResolutionHeld = hold;
    if (hold)
        m_desktop.TimeBeginPeriod(kClickTimerResolutionMs);
    else
        m_desktop.TimeEndPeriod(kClickTimerResolutionMs);
}

int CClickEngine::SweepLimit() const
{
    return m_nRadius * kSweepLimitPerRadius;
}

void CClickEngine::ToggleSweep()
{
    if (!m_panel.toggleOn || m_bSweeping)
        return;
    m_bSweeping = TRUE;

    const int width = m_desktop.GetSystemMetrics(SM_CXSCREEN);
    const int height = m_desktop.GetSystemMetrics(SM_CYSCREEN);
    m_ptCenter.x = width / 2 - kCentreLeftOfMiddle;
    const double centreY = height * kCentreHeightFactor;
    m_ptCenter.y = static_cast<LONG>(centreY);
    m_ptAnchor.x = m_ptCenter.x;

    for (const int lift : kAnchorLifts) {
        m_ptAnchor.y = static_cast<LONG>(centreY - lift);
        SweepDrag(m_ptCenter, kCentreDragReleases);

        int step = kFirstStep;
        // The limit is read afresh for every ring.
        for (int radius = kFirstRingRadius; radius < SweepLimit(); radius += kRingSpacing) {
            step -= kStepDecrease;
            if (step < kSmallestStep)
                step = kFallbackStep;
            for (int degrees = 0; degrees < kFullCircle; degrees += step) {
                const double angle = degrees * static_cast<double>(kDegreeToRadian);
                const POINT from = {m_ptCenter.x + static_cast<LONG>(std::cos(angle) * radius),
                                    m_ptCenter.y + static_cast<LONG>(std::sin(angle) * radius)};
                SweepDrag(from, kRingDragReleases);
            }
        }
    }

    m_bSweeping = FALSE;
}

// Press at 'from', release at the anchor: the cursor is always moved first,
// since button events act where the cursor is.
void CClickEngine::SweepDrag(const POINT& from, int releases)
{
    m_desktop.SetCursorPos(from.x, from.y);
    m_desktop.MouseEvent(MOUSEEVENTF_LEFTDOWN, static_cast<DWORD>(from.x), static_cast<DWORD>(from.y), 0, 0);
    m_desktop.SetCursorPos(m_ptAnchor.x, m_ptAnchor.y);
    for (int i = 0; i < releases; ++i)
        m_desktop.MouseEvent(MOUSEEVENTF_LEFTUP, static_cast<DWORD>(m_ptAnchor.x), static_cast<DWORD>(m_ptAnchor.y),
                             0, 0);
}
