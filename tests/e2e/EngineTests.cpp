#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

namespace {

// Fastest period; the start key on the right mouse button, the end key on the left.
const char kMouseButtonKeys[] = SETTINGS_SECTION "time=10\r\nstart=13\r\nend=12\r\n";

} // namespace

// The desktop's own button state drives the mouse-button keys: a physical
// right click starts clicking, and the program's first injected click reads
// as a left press and stops it again. Then, with the Auto box cleared so that
// only the toggle key acts, one press of it sweeps exactly the rings of the
// radius chosen with the up-down, every press and release reaching the
// desktop. Where each lands, and that a held key sweeps on every tick, is
// seen on the recording desktop.
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
    // Per pass a centre drag (a press, a release) and the rings of radius 1
    // and 9, of 9 and 10 points (a press, two releases each).
    constexpr size_t kEvents = 3 * (2 + (9 + 10) * 3);
    EXPECT_TRUE(WaitUntil([&] { return recorder.events.size() >= kEvents; }));
    EXPECT_TRUE(WaitUntilSettled([&] { return recorder.events.size(); }));
    EXPECT_EQ(kEvents, recorder.events.size());
    EXPECT_TRUE(program.Close());
}
