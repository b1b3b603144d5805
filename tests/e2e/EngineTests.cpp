#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Fastest period, so that every flow takes a fraction of a second.
std::string FastSettings(const char* more = "")
{
    return std::string("[vexo v1.2]\r\ntime=10\r\n") + more;
}

void CloseAndWait(ClickerProcess& program)
{
    PostClick(program.Panel(), IDCANCEL);
    program.WaitForExit();
}

// The drags of one sweep as the desktop sees them: for each anchor lift a
// press at the centre, then a press on every ring point, each released at
// the anchor (twice for ring points).
std::vector<ButtonEvent> ExpectedSweep(int radius)
{
    const double centreY = ::GetSystemMetrics(SM_CYSCREEN) * static_cast<double>(0.6066666841506958f);
    const POINT centre = {::GetSystemMetrics(SM_CXSCREEN) / 2 - 1, static_cast<LONG>(centreY)};
    const double degreeToRadian = 0.017444444820284843f;
    std::vector<ButtonEvent> events;
    for (int lift : {5, 25, 45}) {
        const POINT anchor = {centre.x, static_cast<LONG>(centreY - lift)};
        events.push_back({true, centre, 0});
        events.push_back({false, anchor, 0});
        for (int ring = 0, step = 42; ring * 8 + 1 < radius * 8; ++ring, step -= 3) {
            for (int degrees = 0; degrees < 360; degrees += step) {
                const double angle = degrees * degreeToRadian, r = ring * 8 + 1;
                const POINT at = {centre.x + static_cast<LONG>(std::cos(angle) * r),
                                  centre.y + static_cast<LONG>(std::sin(angle) * r)};
                events.insert(events.end(), {{true, at, 0}, {false, anchor, 0}, {false, anchor, 0}});
            }
        }
    }
    return events;
}

} // namespace

TEST(E2EEngine, StartKeyClicksAtTheCursorUntilTheEndKeyStopsIt)
{
    ForgetPastPresses();
    ClickTarget target;
    ClickerRun clicker("", FastSettings().c_str());
    ASSERT_TRUE(clicker.process.WaitForPanel());
    PumpFor(300);
    EXPECT_EQ(0, target.clicks);

    Tap(VK_F2);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 20; }));
    Tap(VK_F3);
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));
    const int stopped = target.clicks;
    PumpFor(300);
    EXPECT_EQ(stopped, target.clicks);
    CloseAndWait(clicker.process);
}

TEST(E2EEngine, ClearedAutoBoxLeavesBothKeysDeafButRunningClicksGoOn)
{
    ForgetPastPresses();
    ClickTarget target;
    ClickerRun clicker("", FastSettings("SW_AUTO=0\r\n").c_str());
    ASSERT_TRUE(clicker.process.WaitForPanel());
    const HWND autoBox = clicker.process.Control(IDC_AUTO_ON);
    Tap(VK_F2);
    PumpFor(500);
    EXPECT_EQ(0, target.clicks);

    // The unpolled press would otherwise start clicking as soon as the box is ticked.
    ForgetPastPresses();
    Ask(autoBox, BM_CLICK);
    EXPECT_TRUE(::IsWindowEnabled(clicker.process.Control(IDC_START_KEY)));
    Tap(VK_F2);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 10; }));

    Ask(autoBox, BM_CLICK);
    EXPECT_FALSE(::IsWindowEnabled(clicker.process.Control(IDC_END_KEY)));
    Tap(VK_F3);
    const int ended = target.clicks;
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= ended + 20; }));
    CloseAndWait(clicker.process);
    EXPECT_EQ(0, clicker.copy.ReadSetting("SW_AUTO"));
}

// The program's own click reads as a left-button press at its next tick.
TEST(E2EEngine, RightButtonStartsAndTheFirstClickEndsOnTheLeftButton)
{
    ForgetPastPresses();
    ClickTarget target;
    ClickerRun clicker("", FastSettings("start=13\r\nend=12\r\n").c_str());
    ASSERT_TRUE(clicker.process.WaitForPanel());
    PumpFor(300);
    Tap(VK_RBUTTON);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 1; }));
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));
    // A few ticks may pass before the press shows: key states are cached briefly.
    EXPECT_LE(target.clicks, 8);
    CloseAndWait(clicker.process);
}

TEST(E2EEngine, ToggleKeySweepsTheRingsOfTheChosenRadiusReleasingAtTheAnchors)
{
    ForgetPastPresses();
    ClickerRun clicker("", FastSettings("SW_AUTO=0\r\n").c_str());
    ASSERT_TRUE(clicker.process.WaitForPanel());
    ButtonRecorder recorder;
    const std::pair<int, size_t> sweeps[] = {{8, 897}, {10, 1293}};
    for (const auto& sweep : sweeps) {
        SCOPED_TRACE(sweep.first);
        Ask(clicker.process.Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, sweep.first);
        EXPECT_EQ(std::to_string(sweep.first), TextOf(clicker.process.Control(IDC_RADIUS)));
        recorder.events.clear();
        Tap(VK_F4);
        EXPECT_TRUE(WaitUntil([&] { return recorder.events.size() >= sweep.second; }));
        EXPECT_TRUE(WaitUntilSettled([&] { return recorder.events.size(); }));

        const std::vector<ButtonEvent> expected = ExpectedSweep(sweep.first);
        ASSERT_EQ(sweep.second, expected.size());
        ASSERT_EQ(expected.size(), recorder.events.size());
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_TRUE(expected[i] == recorder.events[i])
                << "event " << i << ": " << (recorder.events[i].down ? "press" : "release") << " at "
                << recorder.events[i].at.x << "," << recorder.events[i].at.y << ", expected at "
                << expected[i].at.x << "," << expected[i].at.y;
    }
    CloseAndWait(clicker.process);
}
