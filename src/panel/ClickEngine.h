#pragma once
#include <windows.h>

#include "settings/ClickerSettings.h"

class IDesktop;

// The period timer's identifier.
constexpr UINT_PTR kPeriodTimerId = 1;

// Timer resolution held while clicking, so that the period on the speed bar
// is the period clicked at: by default Windows fires window timers on its
// 15.625 ms tick, which turns 10 ms into 15.6 and 20 or 30 ms into 31.
constexpr UINT kClickTimerResolutionMs = 1;

// Key list entries: 0 "F1" (never tested), 1..11 F2..F12, then the buttons.
constexpr int kKeyFirstFunction = 1;
constexpr int kKeyLastFunction = 11;
constexpr int kKeyLeftButton = 12;
constexpr int kKeyRightButton = 13;
constexpr int kFunctionKeyBase = VK_F1; // entry i is virtual key VK_F1 + i

// What happens at each tick of the period timer: the trigger keys polled on
// the desktop, auto-clicking at the cursor, the toggle sweep. It owns no
// window: the panel arms the timer through it on its own window, and hands
// it every tick with what the panel's controls say at that moment.
class CClickEngine {
public:
    explicit CClickEngine(IDesktop& desktop);

    // Arms the period timer on the window, whose WM_TIMER must reach Tick.
    void Start(HWND window, UINT interval);
    // Stops the timer and gives the finer timer resolution back.
    void Stop();

    // One tick: 'panel' holds the key list indices, the period the speed bar
    // shows and the two boxes; 'radius' is the sweep's. False, and nothing
    // done, for a timer other than the period timer.
    bool Tick(UINT_PTR timerId, const ClickerValues& panel, int radius);

    bool IsClicking() const { return m_bClicking != FALSE; }
    // The cursor position the last click was sent to.
    POINT ClickPoint() const { return m_ptCenter; }
    // The period the timer runs at; a new one on the speed bar counts from
    // the next tick.
    UINT Interval() const { return m_nInterval; }

private:
    bool IsTriggerPressed(int keyIndex);
    void HoldTimerResolution(bool hold);
    void ClickAtCursor();
    // Toggle sweep: one burst of drags on rings around a point below the middle.
    void ToggleSweep();
    int SweepLimit() const;
    void SweepDrag(const POINT& from, int releases);

    UINT_PTR m_nTimer;
    UINT m_nInterval;
    BOOL m_bClicking;
    POINT m_ptCenter;
    POINT m_ptAnchor;
    BOOL m_bSweeping;
    bool m_bTimerResolutionHeld;
    IDesktop& m_desktop;
    HWND m_hWnd; // the panel's, which the timer's ticks go to
    // What the panel's controls said at the tick under way.
    ClickerValues m_panel;
    int m_nRadius;
};
