#include "panel/ClickerDlg.h"

#include "platform/Desktop.h"

void CClickerDlg::OnTimer(UINT_PTR timerId)
{
    if (timerId == kHandoverTimerId) {
        m_restart.OnHandoverTimer();
        return;
    }
    if (!m_bReady || timerId != m_nTimer)
        return;

    // Follow the speed bar; the new period applies from the next tick.
    const UINT period = static_cast<UINT>(m_sbSpeed.GetScrollPos()) * kMillisecondsPerStep;
    if (period != m_nInterval) {
        m_nInterval = period;
        ::KillTimer(m_hWnd, m_nTimer);
        m_nTimer = ::SetTimer(m_hWnd, kPeriodTimerId, m_nInterval, nullptr);
    }

    // Start before end: both in one tick leave clicking off. Every detected
    // press beeps, even when it changes nothing.
    const BOOL wasClicking = m_bClicking;
    const int startKey = m_cbStartKey.GetCurSel();
    if (startKey > 0 && m_bAuto && IsTriggerPressed(startKey)) {
        m_desktop.MessageBeep(kSimpleBeep);
        m_bClicking = TRUE;
    }
    const int endKey = m_cbEndKey.GetCurSel();
    if (endKey > 0 && m_bAuto && IsTriggerPressed(endKey)) {
        m_desktop.MessageBeep(kSimpleBeep);
        m_bClicking = FALSE;
    }
    HoldTimerResolution(m_bClicking != FALSE);

    // The sweep runs before this tick's click, so the click lands at the
    // sweep's last anchor. Whether sweeping is allowed is the sweep's call.
    const int toggleKey = m_cbToggleKey.GetCurSel();
    if (toggleKey > 0 && IsTriggerPressed(toggleKey))
        ToggleSweep();

    if (m_bClicking)
        ClickAtCursor();
    m_restart.AfterTick(m_bClicking != FALSE, wasClicking != FALSE, m_ptCenter, TriggerKeysCouldAct());
}

bool CClickerDlg::IsTriggerPressed(int keyIndex)
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

void CClickerDlg::ClickAtCursor()
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
void CClickerDlg::HoldTimerResolution(bool hold)
{
    if (hold == m_bTimerResolutionHeld)
        return;
    m_bTimerResolutionHeld = hold;
    if (hold)
        m_desktop.TimeBeginPeriod(kClickTimerResolutionMs);
    else
        m_desktop.TimeEndPeriod(kClickTimerResolutionMs);
}
