#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/SweepGeometry.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Fastest period; the start key on the right mouse button, the end key on the left.
const char kMouseButtonKeys[] = SETTINGS_SECTION "time=10\r\nstart=13\r\nend=12\r\n";

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

// The desktop's own button state drives the mouse-button keys: a physical
// right click starts clicking, and the program's first injected click reads
// as a left press and stops it again. Then, with the Auto box cleared so that
// only the toggle key acts, one press of it sweeps exactly the rings of the
// radius chosen with the up-down, every press and release where it belongs
// on the desktop. That a held key sweeps on every tick is seen on the
// recording desktop.
TEST(E2EEngine, MouseButtonKeysFollowTheDesktopAndTheToggleKeySweepsTheRingsOfTheChosenRadius)
{
    ForgetPastPresses();
    ClickerRun clicker("", kMouseButtonKeys);
    ClickerProcess& program = clicker.process;
    ASSERT_TRUE(program.WaitForPanel());
    {
        ClickTarget target;
        Tap(VK_RBUTTON);
        EXPECT_TRUE(WaitUntil([&] { return target.clicks > 0; }));
        EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));
        // A few ticks may pass before the press shows: key states are cached briefly.
        EXPECT_LE(target.clicks, 8);
    }

    Ask(program.Control(IDC_AUTO_ON), BM_CLICK);
    Ask(program.Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, 2);
    EXPECT_EQ("2", TextOf(program.Control(IDC_RADIUS)));
    ButtonRecorder recorder;
    Tap(VK_F4);
    const std::vector<ButtonEvent> expected = ExpectedEvents(2);
    EXPECT_TRUE(WaitUntil([&] { return recorder.events.size() >= expected.size(); }));
    EXPECT_TRUE(WaitUntilSettled([&] { return recorder.events.size(); }));
    ASSERT_EQ(expected.size(), recorder.events.size());
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_TRUE(expected[i] == recorder.events[i]) << "event " << i << " at " << recorder.events[i].at.x << ","
                                                       << recorder.events[i].at.y;
    EXPECT_TRUE(program.Close());
    EXPECT_EQ((std::vector<int>{13, 12, 3, 10, 0, 1}), clicker.copy.SavedSettings());
}
