#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/SweepGeometry.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Fastest period, so that every flow takes a fraction of a second; the Auto
// box starts cleared.
const char kFastSettingsAutoOff[] = "[vexo v1.2]\r\ntime=10\r\nSW_AUTO=0\r\n";

// The button events of one sweep as the desktop sees them: per drag a press
// at its point, then its releases at the anchor.
std::vector<ButtonEvent> ExpectedEvents(int radius)
{
    std::vector<ButtonEvent> events;
    for (const SweepDrag& drag :
         ExpectedSweep(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), radius)) {
        events.push_back({true, drag.from, 0});
        events.insert(events.end(), static_cast<size_t>(drag.releases), ButtonEvent{false, drag.anchor, 0});
    }
    return events;
}

} // namespace

// With the Auto box cleared neither key reacts, but clicking that runs goes
// on; on the mouse buttons, the program's own click reads as a left press.
TEST(E2EEngine, TriggerKeysStartAndStopClicksAtTheCursorWhileTheAutoBoxIsTicked)
{
    ForgetPastPresses();
    ClickTarget target;
    ClickerRun clicker("", kFastSettingsAutoOff);
    ClickerProcess& program = clicker.process;
    ASSERT_TRUE(program.WaitForPanel());
    Tap(VK_F2);
    PumpFor(500);
    EXPECT_EQ(0, target.clicks);

    // The unpolled press would otherwise start clicking as soon as the box is ticked.
    ForgetPastPresses();
    Ask(program.Control(IDC_AUTO_ON), BM_CLICK);
    Tap(VK_F2);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 20; }));
    Tap(VK_F3);
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));

    Tap(VK_F2);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 40; }));
    Ask(program.Control(IDC_AUTO_ON), BM_CLICK);
    Tap(VK_F3);
    const int ended = target.clicks;
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= ended + 20; }));

    Ask(program.Control(IDC_AUTO_ON), BM_CLICK);
    Ask(program.Control(IDC_START_KEY), CB_SETCURSEL, 13);
    Ask(program.Control(IDC_END_KEY), CB_SETCURSEL, 12);
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));
    const int stopped = target.clicks;
    Tap(VK_RBUTTON);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks > stopped; }));
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));
    // A few ticks may pass before the press shows: key states are cached briefly.
    EXPECT_LE(target.clicks, stopped + 8);
    EXPECT_TRUE(program.Close());
    EXPECT_EQ((std::vector<int>{13, 12, 3, 10, 1, 1}), clicker.copy.SavedSettings());
}

TEST(E2EEngine, ToggleKeySweepsTheRingsOfTheChosenRadiusReleasingAtTheAnchors)
{
    ForgetPastPresses();
    ClickerRun clicker("", kFastSettingsAutoOff);
    ASSERT_TRUE(clicker.process.WaitForPanel());
    ButtonRecorder recorder;
    const std::pair<int, size_t> sweeps[] = {{8, 897}, {10, 1293}};
    for (const auto& sweep : sweeps) {
        SCOPED_TRACE(sweep.first);
        Ask(clicker.process.Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, sweep.first);
        recorder.events.clear();
        Tap(VK_F4);
        EXPECT_TRUE(WaitUntil([&] { return recorder.events.size() >= sweep.second; }));
        EXPECT_TRUE(WaitUntilSettled([&] { return recorder.events.size(); }));

        const std::vector<ButtonEvent> expected = ExpectedEvents(sweep.first);
        ASSERT_EQ(sweep.second, expected.size());
        ASSERT_EQ(expected.size(), recorder.events.size());
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_TRUE(expected[i] == recorder.events[i]) << "event " << i << " at " << recorder.events[i].at.x
                                                           << "," << recorder.events[i].at.y;
    }
    EXPECT_TRUE(clicker.process.Close());
}
