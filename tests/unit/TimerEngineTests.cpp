#include "support/PanelFixture.h"

#include <gtest/gtest.h>

namespace {

// A panel at its defaults: F2 starts, F3 ends, F4 sweeps, both boxes on.
class TimerEngineTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        Open();
        desktop.Clear();
    }
    void Select(int list, int index) const { ::SendMessageA(Control(list), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    std::vector<DesktopCall> ClickAt(long x, long y) const { return {CursorReadCall(), DownCall(x, y), UpCall(x, y)}; }
    size_t Beeps() const { return desktop.CallsOf(DesktopCall::Beep).size(); }
};

std::vector<DesktopCall> Join(std::initializer_list<std::vector<DesktopCall>> parts)
{
    std::vector<DesktopCall> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

TEST_F(TimerEngineTest, IdleTickQueriesStartEndAndToggleKeysInOrder)
{
    Tick();
    EXPECT_EQ((std::vector<DesktopCall>{KeyCall(VK_F2), KeyCall(VK_F3), KeyCall(VK_F4)}), desktop.calls);
    EXPECT_FALSE(panel->m_bClicking);
}

TEST_F(TimerEngineTest, StartKeyBeepsAndClicksAtTheCursorInTheSameTick)
{
    desktop.Tap(VK_F2);
    desktop.cursor = {321, 123};
    Tick();
    EXPECT_EQ(Join({{KeyCall(VK_F2), BeepCall(), KeyCall(VK_F3), KeyCall(VK_F4)}, ClickAt(321, 123)}), desktop.calls);
    EXPECT_EQ(321, panel->m_ptCenter.x);
    EXPECT_EQ(123, panel->m_ptCenter.y);

    desktop.Clear();
    Tick();
    EXPECT_EQ(Join({{KeyCall(VK_F2), KeyCall(VK_F3), KeyCall(VK_F4)}, ClickAt(321, 123)}), desktop.calls);

    desktop.Clear();
    desktop.Tap(VK_F3);
    Tick();
    EXPECT_EQ((std::vector<DesktopCall>{KeyCall(VK_F2), KeyCall(VK_F3), BeepCall(), KeyCall(VK_F4)}), desktop.calls);
    EXPECT_FALSE(panel->m_bClicking);
}

TEST_F(TimerEngineTest, StartAndEndInOneTickLeaveClickingOff)
{
    desktop.Tap(VK_F2);
    desktop.Tap(VK_F3);
    Tick();
    EXPECT_EQ((std::vector<DesktopCall>{KeyCall(VK_F2), BeepCall(), KeyCall(VK_F3), BeepCall(), KeyCall(VK_F4)}),
              desktop.calls);
    EXPECT_FALSE(panel->m_bClicking);
}

TEST_F(TimerEngineTest, EveryDetectedPressBeepsEvenWhenNothingChanges)
{
    desktop.Hold(VK_F3);
    Tick();
    Tick();
    EXPECT_EQ(2u, Beeps());
    EXPECT_FALSE(panel->m_bClicking);
}

TEST_F(TimerEngineTest, ClearedAutoBoxStopsPollingButNotClicking)
{
    panel->m_bClicking = TRUE;
    Click(IDC_AUTO_ON);
    desktop.Clear();
    desktop.Tap(VK_F3);
    desktop.cursor = {5, 6};
    Tick();
    EXPECT_EQ(Join({{KeyCall(VK_F4)}, ClickAt(5, 6)}), desktop.calls);
    EXPECT_TRUE(panel->m_bClicking);
}

TEST_F(TimerEngineTest, F1AndNoSelectionAreNeverTested)
{
    Select(IDC_START_KEY, 0);
    Select(IDC_END_KEY, -1);
    Select(IDC_TOGGLE_KEY, 0);
    desktop.Hold(VK_F1);
    Tick();
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(TimerEngineTest, ListIndexesMapToFunctionKeysAndMouseButtons)
{
    Select(IDC_START_KEY, 11);
    Select(IDC_END_KEY, kKeyRightButton);
    Select(IDC_TOGGLE_KEY, kKeyLeftButton);
    Click(IDC_TOGGLE_ON); // no sweep, only the query
    desktop.Clear();
    Tick();
    EXPECT_EQ((std::vector<DesktopCall>{KeyCall(VK_F12), KeyCall(VK_RBUTTON), KeyCall(VK_LBUTTON)}), desktop.calls);
}

TEST_F(TimerEngineTest, InjectedClicksCountAsLeftButtonPresses)
{
    // Start key on the left button: every tick of running clicking beeps.
    Select(IDC_START_KEY, kKeyLeftButton);
    desktop.Tap(VK_LBUTTON);
    for (int i = 0; i < 3; ++i)
        Tick();
    EXPECT_EQ(3u, Beeps());
    EXPECT_TRUE(panel->m_bClicking);

    // End key on the left button: clicking stops at the tick after its first click.
    Select(IDC_START_KEY, 1);
    Select(IDC_END_KEY, kKeyLeftButton);
    desktop.GetAsyncKeyState(VK_LBUTTON); // forget the last click
    desktop.Clear();
    desktop.Tap(VK_F2);
    Tick();
    EXPECT_TRUE(panel->m_bClicking);
    Tick();
    EXPECT_FALSE(panel->m_bClicking);
    EXPECT_EQ(2u, desktop.CallsOf(DesktopCall::Button).size());
}

TEST_F(TimerEngineTest, RightButtonStartsClicking)
{
    Select(IDC_START_KEY, kKeyRightButton);
    desktop.Tap(VK_RBUTTON);
    Tick();
    EXPECT_TRUE(panel->m_bClicking);
    EXPECT_EQ(1u, Beeps());
}

TEST_F(TimerEngineTest, TickFollowsTheSpeedBarAndRearmsTheTimer)
{
    Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), reinterpret_cast<LPARAM>(Control(IDC_SPEED)));
    Tick();
    EXPECT_EQ(10u, panel->m_nInterval);
    EXPECT_EQ(kPeriodTimerId, panel->m_nTimer);
    EXPECT_EQ(3u, desktop.CallsOf(DesktopCall::KeyQuery).size());
}

TEST_F(TimerEngineTest, OtherTimersAndTicksBeforeInitialisationDoNothing)
{
    panel->OnTimer(kPeriodTimerId + 1);
    panel->m_bReady = FALSE;
    Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50), reinterpret_cast<LPARAM>(Control(IDC_SPEED)));
    Tick();
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_EQ(150u, panel->m_nInterval);
}

TEST_F(TimerEngineTest, ClickOfASweepingTickLandsAtTheLastAnchor)
{
    panel->m_bClicking = TRUE;
    desktop.Tap(VK_F4);
    Tick();
    const std::vector<DesktopCall> buttons = desktop.CallsOf(DesktopCall::Button);
    // Three passes of a centre drag (press, release) and 99 ring drags
    // (press, two releases), then the tick's own click.
    ASSERT_EQ(3u * (2u + 99u * 3u) + 2u, buttons.size());
    EXPECT_EQ(CursorReadCall(), desktop.calls[desktop.calls.size() - 3]);
    EXPECT_EQ(DownCall(399, 319), desktop.calls[desktop.calls.size() - 2]);
    EXPECT_EQ(UpCall(399, 319), desktop.calls.back());
}

TEST_F(TimerEngineTest, HeldToggleKeySweepsOncePerTick)
{
    desktop.Hold(VK_F4);
    Tick();
    Tick();
    EXPECT_EQ(4u, desktop.CallsOf(DesktopCall::Metrics).size());
    EXPECT_EQ(0u, Beeps());
}
