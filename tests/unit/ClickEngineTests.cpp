#include "panel/ClickEngine.h"
#include "support/PanelFixture.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace {

using Offset = std::pair<long, long>;

// A recording desktop on which the next cursor move first lets something
// else run, as a message handled in the middle of a sweep would.
class CInterruptedDesktop : public CRecordingDesktop {
public:
    BOOL SetCursorPos(int x, int y) override
    {
        if (interruption)
            std::exchange(interruption, nullptr)();
        return CRecordingDesktop::SetCursorPos(x, y);
    }
    std::function<void()> interruption;
};

// An engine with no panel, its timer on a window of the test's: F2 starts,
// F3 ends, F4 sweeps, both boxes on, radius 8, as a panel starts.
class ClickEngineTest : public ::testing::Test {
protected:
    void SetUp() override { engine.Start(window, 150); }
    void TearDown() override { ::DestroyWindow(window); }
    Calls TickCalls()
    {
        desktop.calls.clear();
        engine.Tick(kPeriodTimerId, panel, radius);
        return desktop.calls;
    }
    // A tick with the toggle key held, and what its sweep did: every call
    // after the key's query.
    Calls Sweep()
    {
        desktop.held = {VK_F4};
        const Calls calls = TickCalls();
        desktop.held.clear();
        const auto key = std::find(calls.begin(), calls.end(), KeyCall(VK_F4));
        return key == calls.end() ? Calls{} : Calls(key + 1, calls.end());
    }

    CInterruptedDesktop desktop;
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    CClickEngine engine{desktop};
    ClickerValues panel = {1, 2, 3, 150, 1, 1};
    int radius = 8;
};

const DesktopCall F2 = KeyCall(VK_F2), F3 = KeyCall(VK_F3), F4 = KeyCall(VK_F4);

} // namespace

// The finer timer resolution is asked for at the tick where clicking starts
// and given back at the tick where it stops, once per run.
TEST_F(ClickEngineTest, StartKeyBeepsAndClicksAtTheCursorUntilTheEndKey)
{
    EXPECT_EQ((Calls{F2, F3, F4}), TickCalls());
    desktop.tapped = {VK_F2};
    desktop.cursor = {321, 123};
    const Calls click = {kCursorRead, DownCall(321, 123), UpCall(321, 123)};
    EXPECT_EQ((Calls{F2, kBeep, F3, BeginPeriodCall(1), F4, click[0], click[1], click[2]}), TickCalls());
    EXPECT_EQ((Calls{F2, F3, F4, click[0], click[1], click[2]}), TickCalls());
    desktop.tapped = {VK_F2};
    EXPECT_EQ((Calls{F2, kBeep, F3, F4, click[0], click[1], click[2]}), TickCalls());
    panel.autoOn = 0; // the cleared Auto box stops the polling, not the clicking
    desktop.tapped = {VK_F3};
    EXPECT_EQ((Calls{F4, click[0], click[1], click[2]}), TickCalls());
    panel.autoOn = 1;
    EXPECT_EQ((Calls{F2, F3, kBeep, EndPeriodCall(1), F4}), TickCalls());
    desktop.tapped = {VK_F2, VK_F3}; // both in one tick: clicking ends up off
    EXPECT_EQ((Calls{F2, kBeep, F3, kBeep, F4}), TickCalls());
    desktop.held = {VK_F3}; // every detected press beeps, even when it changes nothing
    EXPECT_EQ((Calls{F2, F3, kBeep, F4}), TickCalls());
}

// The toggle key is polled with the Toggle box cleared too: the box is the
// sweep's to check.
TEST_F(ClickEngineTest, ListEntriesMapToKeysAndF1OrNoSelectionIsNeverTested)
{
    panel = {11, kKeyRightButton, kKeyLeftButton, 150, 1, 0};
    EXPECT_EQ((Calls{KeyCall(VK_F12), KeyCall(VK_RBUTTON), KeyCall(VK_LBUTTON)}), TickCalls());
    panel = {0, -1, 0, 150, 1, 1};
    desktop.held = {VK_F1};
    EXPECT_EQ(Calls{}, TickCalls());
}

// A new period re-arms the timer on the panel's window for the next tick;
// another timer's tick does nothing. Stopping ends the timer and gives the
// finer resolution back, clicking or not.
TEST_F(ClickEngineTest, TimerFollowsThePeriodAndStopGivesBackTheResolution)
{
    panel.time = 10;
    EXPECT_FALSE(engine.Tick(kPeriodTimerId + 10, panel, radius));
    EXPECT_EQ(150u, engine.Interval());
    // The tick must arm a timer of its own for the new period: take the old one away.
    ::KillTimer(window, kPeriodTimerId);
    EXPECT_EQ((Calls{F2, F3, F4}), TickCalls());
    EXPECT_EQ(10u, engine.Interval());
    EXPECT_TRUE(::KillTimer(window, kPeriodTimerId));

    engine.Start(window, 150);
    desktop.tapped = {VK_F2};
    TickCalls();
    engine.Stop();
    EXPECT_FALSE(::KillTimer(window, kPeriodTimerId));
    EXPECT_EQ((Calls{BeginPeriodCall(1), EndPeriodCall(1)}), desktop.CallsOf(DesktopCall::TimerResolution));
}

// Worked out by hand from the sweep's constants on an 800 x 600 screen: the
// centre (399, 364), the anchors 5, 25 and 45 pixels above it, the rings of
// radius 1, 9, ... 57 stepping 42, 39, ... 21 degrees, and the offsets of
// their first points from the centre. The first and last drags pin the
// first and last anchors.
TEST_F(ClickEngineTest, SweepOfRadiusEightOnAnEightHundredBySixHundredScreen)
{
    const Calls calls = Sweep();
    ASSERT_EQ(2u + 1497u, calls.size());
    EXPECT_EQ((Calls{MetricsCall(SM_CXSCREEN), MetricsCall(SM_CYSCREEN), MoveCall(399, 364), DownCall(399, 364),
                     MoveCall(399, 359), UpCall(399, 359), MoveCall(400, 364), DownCall(400, 364), MoveCall(399, 359),
                     UpCall(399, 359), UpCall(399, 359)}),
              Calls(calls.begin(), calls.begin() + 11));
    EXPECT_EQ((Calls{MoveCall(399, 319), UpCall(399, 319), UpCall(399, 319)}), Calls(calls.end() - 3, calls.end()));

    const Calls presses = Presses(calls);
    ASSERT_EQ(3u * 100u, presses.size());
    std::vector<Offset> firstPass;
    for (size_t i = 0; i < 100; ++i)
        firstPass.emplace_back(presses[i].x - 399, presses[i].y - 364);
    // Radius 1: only the first point is off the centre.
    EXPECT_EQ(std::vector<Offset>({{0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}),
              std::vector<Offset>(firstPass.begin(), firstPass.begin() + 10));
    EXPECT_EQ(std::vector<Offset>({{9, 0}, {6, 5}, {1, 8}, {-4, 8}}),
              std::vector<Offset>(firstPass.begin() + 10, firstPass.begin() + 14));
    EXPECT_EQ(std::vector<Offset>({{57, 0}, {53, 20}, {42, 38}, {25, 50}, {6, 56}}),
              std::vector<Offset>(firstPass.begin() + 82, firstPass.begin() + 87));
}

// The whole pass grows with the radius, by the rings counted by hand; the
// centre follows the screen.
TEST_F(ClickEngineTest, RadiusAndScreenSizeShapeTheSweep)
{
    const size_t ringDrags[] = {9, 19, 29, 40, 52, 66, 81, 99, 119, 143};
    for (radius = 1; radius <= 10; ++radius)
        EXPECT_EQ(3 * (1 + ringDrags[radius - 1]), Presses(Sweep()).size()) << "radius " << radius;
    desktop.screen = {1024, 768};
    EXPECT_EQ(DownCall(511, 465), Presses(Sweep()).front());
}

// The sweep comes before the tick's click, which lands at its last anchor;
// the toggle key does not beep, and a held one sweeps at every tick. A
// cleared Toggle box, or a sweep already under way, starts none.
TEST_F(ClickEngineTest, SweepRunsBeforeTheClickAndOnlyOneAtATime)
{
    desktop.tapped = {VK_F2};
    const Calls calls = Sweep();
    EXPECT_EQ((Calls{kCursorRead, DownCall(399, 319), UpCall(399, 319)}), Calls(calls.end() - 3, calls.end()));
    EXPECT_EQ(1u, desktop.CallsOf(DesktopCall::Beep).size()) << "the start key's, and none for the toggle key";
    Sweep();
    EXPECT_EQ(2u, desktop.CallsOf(DesktopCall::Metrics).size());

    desktop.tapped = {VK_F3};
    desktop.interruption = [&] { engine.Tick(kPeriodTimerId, panel, radius); };
    EXPECT_EQ(2u + 3u + 1497u, Sweep().size()) << "one sweep, and the polls of the tick inside it";
    panel.toggleOn = 0;
    EXPECT_EQ(Calls{}, Sweep());
}
