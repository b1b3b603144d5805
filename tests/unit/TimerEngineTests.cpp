#include "support/PanelFixture.h"

namespace {

using Calls = std::vector<DesktopCall>;

// A panel at its defaults: F2 starts, F3 ends, F4 sweeps, both boxes on.
class TimerEngineTest : public OpenPanelTest {
protected:
    Calls TickCalls()
    {
        desktop.calls.clear();
        Tick();
        return desktop.calls;
    }
    size_t Count(DesktopCall::Kind kind) const { return desktop.CallsOf(kind).size(); }
};

const DesktopCall F2 = KeyCall(VK_F2), F3 = KeyCall(VK_F3), F4 = KeyCall(VK_F4);

} // namespace

// The finer timer resolution is asked for at the tick where clicking starts
// and given back at the tick where it stops, once per run.
TEST_F(TimerEngineTest, StartKeyBeepsAndClicksAtTheCursorUntilTheEndKey)
{
    EXPECT_EQ((Calls{F2, F3, F4}), TickCalls());
    desktop.tapped = {VK_F2};
    desktop.cursor = {321, 123};
    const Calls click = {kCursorRead, DownCall(321, 123), UpCall(321, 123)};
    EXPECT_EQ((Calls{F2, kBeep, F3, BeginPeriodCall(1), F4, click[0], click[1], click[2]}), TickCalls());
    EXPECT_EQ((Calls{F2, F3, F4, click[0], click[1], click[2]}), TickCalls());
    desktop.tapped = {VK_F2};
    EXPECT_EQ((Calls{F2, kBeep, F3, F4, click[0], click[1], click[2]}), TickCalls());
    desktop.tapped = {VK_F3};
    EXPECT_EQ((Calls{F2, F3, kBeep, EndPeriodCall(1), F4}), TickCalls());
    desktop.tapped = {VK_F2, VK_F3}; // both in one tick: clicking ends up off
    EXPECT_EQ((Calls{F2, kBeep, F3, kBeep, F4}), TickCalls());
    desktop.held = {VK_F3}; // every detected press beeps, even when it changes nothing
    EXPECT_EQ((Calls{F2, F3, kBeep, F4}), TickCalls());
}

TEST_F(TimerEngineTest, ClearedAutoBoxStopsPollingButNotClicking)
{
    desktop.tapped = {VK_F2};
    Tick();
    Click(IDC_AUTO_ON);
    desktop.tapped = {VK_F3};
    desktop.cursor = {5, 6};
    EXPECT_EQ((Calls{F4, kCursorRead, DownCall(5, 6), UpCall(5, 6)}), TickCalls());
}

TEST_F(TimerEngineTest, FinerResolutionIsGivenBackWhenThePanelEndsWhileClicking)
{
    desktop.tapped = {VK_F2};
    Tick();
    Close();
    EXPECT_EQ((Calls{BeginPeriodCall(1), EndPeriodCall(1)}), desktop.CallsOf(DesktopCall::TimerResolution));
}

// The record that keeps Windows 11 from ignoring the finer resolution while
// the panel hides in the tray: the current version, the timer-resolution
// policy taken in charge and switched off. Windows 7, without the function,
// is asked once and nothing else follows.
TEST(TimerResolutionOptOut, TakesChargeOfTheTimerPolicyAndSwitchesItOff)
{
    for (const BOOL available : {TRUE, FALSE}) {
        CRecordingDesktop desktop;
        desktop.hasPowerThrottling = available;
        EXPECT_EQ(available != FALSE, KeepTimerResolutionWhileHidden(desktop));
        EXPECT_EQ((std::vector<DesktopCall>{ThrottlingCall(1, 0x4, 0)}), desktop.calls);
    }
}

TEST_F(TimerEngineTest, ListEntriesMapToKeysAndF1OrNoSelectionIsNeverTested)
{
    Select(IDC_START_KEY, 11);
    Select(IDC_END_KEY, kKeyRightButton);
    Select(IDC_TOGGLE_KEY, kKeyLeftButton);
    Click(IDC_TOGGLE_ON);
    EXPECT_EQ((Calls{KeyCall(VK_F12), KeyCall(VK_RBUTTON), KeyCall(VK_LBUTTON)}), TickCalls());
    Select(IDC_START_KEY, 0);
    Select(IDC_END_KEY, -1);
    Select(IDC_TOGGLE_KEY, 0);
    desktop.held = {VK_F1};
    EXPECT_EQ(Calls{}, TickCalls());
}

TEST_F(TimerEngineTest, TickFollowsTheSpeedBarOnlyWhenReadyAndForItsOwnTimer)
{
    Scroll(SB_THUMBPOSITION, 1);
    Send(WM_TIMER, kPeriodTimerId + 10); // another timer's
    CClickerDlgTestAccess::SetReady(*panel, false);
    Tick();
    EXPECT_TRUE(desktop.calls.empty());
    CClickerDlgTestAccess::SetReady(*panel, true);
    // The tick must arm a timer of its own for the new period: take the old one away.
    ::KillTimer(panel->GetSafeHwnd(), kPeriodTimerId);
    EXPECT_EQ(3u, TickCalls().size());
    EXPECT_TRUE(::KillTimer(panel->GetSafeHwnd(), kPeriodTimerId));
}

TEST_F(TimerEngineTest, SweepRunsBeforeTheClickWhichLandsAtTheLastAnchor)
{
    desktop.tapped = {VK_F2};
    desktop.held = {VK_F4};
    const Calls calls = TickCalls();
    // Three passes: a centre drag (press, release) and 99 ring drags (press, two releases).
    EXPECT_EQ(3u * (2u + 99u * 3u) + 2u, Count(DesktopCall::Button));
    EXPECT_EQ((Calls{kCursorRead, DownCall(399, 319), UpCall(399, 319)}), Calls(calls.end() - 3, calls.end()));
    EXPECT_EQ(1u, Count(DesktopCall::Beep)) << "the start key's, and none for the toggle key";
    TickCalls(); // held: one sweep per tick
    EXPECT_EQ(2u, Count(DesktopCall::Metrics));
}
