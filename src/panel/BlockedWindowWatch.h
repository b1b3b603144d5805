#pragma once
#include <windows.h>

#include "common/Text.h"

class IDesktop;

// Top-level windows whose process runs at a higher integrity level than the
// clicker's own, typically programs run as administrator. Windows drops the
// clicks sent into them and, while one of them is in front, hides every key
// from the clicker, and says nothing either way. Each window's answer is
// kept, so a check whose window has not changed since the last one costs a
// single query of the desktop. Each program is reported once, however many
// windows it shows, until the reports are forgotten.
class CBlockedWindowWatch {
public:
    explicit CBlockedWindowWatch(IDesktop& desktop);

    // Watches from now on, against the clicker's own level. Never started
    // where the clicker runs elevated: nothing is above it there.
    void Start(DWORD ownLevel);

    // The top-level window at the point (where a click lands), or the one in
    // front, when it is blocked and its program not reported yet; else null.
    HWND CheckPoint(POINT point);
    HWND CheckForeground();

    // Reports every blocked program once more (clicking stopped and started).
    void ForgetReported();

private:
    // The last window a check saw, its top-level window, the answer, and the
    // program it belongs to.
    struct Seen {
        HWND window = nullptr;
        HWND root = nullptr;
        bool blocked = false;
        CText program;
    };
    HWND Check(HWND window, Seen& seen);
    bool Report(const CText& program);

    IDesktop& m_desktop;
    bool m_bWatching = false;
    DWORD m_nOwnLevel = 0;
    Seen m_clickTarget;
    Seen m_foreground;
    // The programs reported since the last forgetting, the oldest overwritten.
    static constexpr size_t kRemembered = 8;
    CText m_reported[kRemembered];
    size_t m_nNextReport = 0;
};
