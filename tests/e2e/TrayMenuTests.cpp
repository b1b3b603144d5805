#include <windows.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <vector>

TEST(E2ETray, HiddenPanelKeepsClickingAndTheMenuShowsItAgainOrEndsIt)
{
    ForgetPastPresses();
    ClickTarget target;
    ClickerRun clicker("", kFastSettings);
    ClickerProcess& program = clicker.process;
    ASSERT_TRUE(program.WaitForPanel());
    HideToTray(program);
    Tap(VK_F2);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 10; }));
    Tap(VK_F3);
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));

    ChooseFromTrayMenu(program, 1);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(program.Panel()) != FALSE; }));

    HideToTray(program);
    ChooseFromTrayMenu(program, 2);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 10, 1, 1}), clicker.copy.SavedSettings());
}
