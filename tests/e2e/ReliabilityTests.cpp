#include <windows.h>
#include <shellapi.h>

#include "panel/ClickerDlg.h"
#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <list>

namespace {

// Whether the panel's tray icon exists: the shell refuses to change an icon
// it does not know.
bool HasTrayIcon(HWND panel)
{
    NOTIFYICONDATAW icon = {};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = panel;
    icon.uID = kTrayIconId;
    return ::Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

} // namespace

// The copies race for the mutex; each loser reports and ends, whether or not
// it found the winner's panel yet.
TEST(E2EReliability, TenCopiesStartedAtOnceLeaveOnePanelAndNoOtherProcess)
{
    ClickerCopy copy;
    std::list<ClickerProcess> copies;
    for (int i = 0; i < 10; ++i)
        copies.emplace_back(copy);
    const auto running = [&] {
        int count = 0;
        for (ClickerProcess& program : copies) {
            if (!program.IsRunning())
                continue;
            ++count;
            // By caption only: the panel is a dialog as well.
            if (const HWND box = FindDialog(program.Id(), copy.Name())) {
                DismissMessageBox(box);
                WaitUntil([&] { return !::IsWindow(box); });
            }
        }
        return count;
    };
    ASSERT_TRUE(WaitUntil([&] { return running() == 1; }, 4 * kWaitMs)) << running() << " still running";
    for (ClickerProcess& program : copies) {
        if (program.IsRunning()) {
            ASSERT_TRUE(program.WaitForPanel());
            EXPECT_TRUE(program.Close());
        } else {
            EXPECT_EQ(0u, program.ExitCode());
        }
    }
}

// Hundreds of start and end presses as fast as they come leave the keys
// working. Polling cannot tell which of two presses within one tick came
// last: a tick may read the start key just before the storm's last press of
// it and the end key just after, and the next tick finds that press still
// pending and starts clicking again. So, as a person pauses between keys,
// the end key alone then stops clicking, whatever the storm left. Then the
// session ends: Windows may end the process as soon as the end notice
// returns, so the settings must be on disk and the icon gone by then.
TEST(E2EReliability, KeyStormLeavesTheKeysWorkingAndSessionEndSavesAndTakesTheTrayIconAway)
{
    ForgetPastPresses();
    ClickTarget target;
    ClickerRun clicker("", kFastSettings);
    ClickerProcess& program = clicker.process;
    ASSERT_TRUE(program.WaitForPanel());

    for (int i = 0; i < 300; ++i) {
        Tap(VK_F2);
        Tap(VK_F3);
    }
    // Pauses longer than the 50 ms for which Wine may answer "not pressed"
    // from a cache: a press the storm left pending is read in the first, or
    // with the end key's and before it. The test's own tick after the second
    // reads what is left however busy the machine, before the next key.
    PumpFor(100);
    Tap(VK_F3);
    PumpFor(100);
    Ask(program.Panel(), WM_TIMER, kPeriodTimerId);
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));
    // The ticks that click again also take the new period.
    MoveSpeedBarTo(program, 20);
    const int afterStorm = target.clicks;
    Tap(VK_F2);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= afterStorm + 10; }));
    Tap(VK_F3);
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));

    PostClick(program.Panel(), IDC_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(program.Panel()); }));
    ASSERT_TRUE(HasTrayIcon(program.Panel()));
    // Nothing is saved before the end.
    EXPECT_EQ(10, ReadSavedSetting(clicker.copy.SettingsPath(), SettingsKey::kTime));
    EXPECT_NE(0, Ask(program.Panel(), WM_QUERYENDSESSION, 0, 0));
    Ask(program.Panel(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 200, 1, 1}), clicker.copy.SavedSettings());
    EXPECT_FALSE(HasTrayIcon(program.Panel()));
    EXPECT_TRUE(program.Close());
}
