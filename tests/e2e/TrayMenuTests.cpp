#include <windows.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// What the tray icon sends the panel; lParam is the mouse message over the icon.
constexpr UINT kTrayNotify = WM_USER + 1;

bool MenuShown(const ClickerProcess& program)
{
    return FindTopLevel(program.Id(),
                        [](HWND window) { return ClassOf(window) == "#32768" && ::IsWindowVisible(window); });
}

// Waits for the activation to move on too: the menu would close at once if
// another window took it over while it opened.
void Hide(ClickerProcess& program)
{
    PostClick(program.Panel(), IDC_HIDE);
    ASSERT_TRUE(WaitUntil([&] {
        const HWND active = ::GetForegroundWindow();
        return !::IsWindowVisible(program.Panel()) && active && active != program.Panel();
    }));
}

// Right click on the icon, then the item chosen with the arrow keys: the
// menu serves its owner thread's keyboard messages while it is open.
void ChooseFromTrayMenu(ClickerProcess& program, int item)
{
    ::PostMessageW(program.Panel(), kTrayNotify, 0, WM_RBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return MenuShown(program); }));
    // Only so does the menu close when the user clicks elsewhere.
    EXPECT_EQ(program.Panel(), ::GetForegroundWindow());
    for (int i = 0; i < item; ++i)
        PostKey(program.Panel(), VK_DOWN);
    PostKey(program.Panel(), VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !MenuShown(program); }));
}

} // namespace

TEST(E2ETray, HiddenPanelKeepsClickingAndTheMenuShowsItAgainOrEndsIt)
{
    ForgetPastPresses();
    ClickTarget target;
    ClickerRun clicker("", kFastSettings);
    ClickerProcess& program = clicker.process;
    ASSERT_TRUE(program.WaitForPanel());
    Hide(program);
    Tap(VK_F2);
    EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 10; }));
    Tap(VK_F3);
    EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));

    ChooseFromTrayMenu(program, 1);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(program.Panel()) != FALSE; }));

    Hide(program);
    ChooseFromTrayMenu(program, 2);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 10, 1, 1}), clicker.copy.SavedSettings());
}
