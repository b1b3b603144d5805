#pragma once
#include <windows.h>

#include "common/Text.h"
#include "panel/BlockedWindowWatch.h"
#include "settings/Handover.h"

class CNotificationArea;
class IDesktop;

// The timer on which a handover offered to a copy started as administrator
// is withdrawn when that copy does not come to take it.
constexpr UINT_PTR kHandoverTimerId = 2;

// Where the clicker does not run elevated, windows of elevated programs drop
// its clicks and, in front, hide its keys from it. This watches for them
// while it matters, tells the user once per program through the
// notification area, and starts the program again as administrator when
// asked, handing the new copy what the panel shows; this copy ends once the
// new one has taken it.
class CElevatedRestart {
public:
    CElevatedRestart(IDesktop& desktop, CNotificationArea& area, CText appName);

    // At the panel's start: whether this copy is elevated, and if not, the watch.
    void Start(HWND panel);
    bool IsElevated() const { return m_bElevated; }

    // After a tick, with what it did: a window under a click, and the one in
    // front while a trigger key could act, is told of when blocked. Clicking
    // started afresh tells of every program once more; clicking stopped ends
    // the notice.
    void AfterTick(bool clicking, bool wasClicking, POINT clickPoint, bool keysCouldAct);

    // Whether a restart can be asked for now: not elevated already, and no
    // handover under way.
    bool CanRestart() const { return !m_bElevated && !m_bHandingOver; }
    // Offers the values and starts the new copy, whose consent prompt the
    // panel owns; false, with the offer withdrawn, where it was refused or
    // failed. A failure other than the user's refusal is told in a box the
    // panel owns.
    bool Restart(const HandedOverValues& values);

    // The handover timer fell due: the new copy never came for the values.
    void OnHandoverTimer() { EndHandover(); }
    // The new copy's word that it has the values: where this copy offered
    // them, it closes, as the tray menu's exit closes it. True when the
    // message was that word.
    bool OnMessage(UINT message);

    // The panel closes: no notice and no offer outlive it.
    void End();

private:
    void Tell(HWND window);
    void EndHandover();

    IDesktop& m_desktop;
    CNotificationArea& m_area;
    CText m_strAppName;
    HWND m_hPanel = nullptr;
    CBlockedWindowWatch m_blocked;
    bool m_bElevated = false;
    bool m_bHandingOver = false; // a copy started as administrator may take over
    const UINT m_nHandoverTaken;
};
