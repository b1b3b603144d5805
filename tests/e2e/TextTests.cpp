#include <windows.h>

#include "platform/Desktop.h"
#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <vector>

// Renamed to Korean, as a user may, the program is the same under any code
// page: its lists, About box and messages read in Korean, a second
// copy finds the first by the name and brings it back from the taskbar, and
// the settings are saved in the file every release reads. The real
// desktop, as a copy taking over sees the one it replaces, finds that copy's
// panel by the name, names its program by its path, reads its account and
// waits for its end.
TEST(E2EText, KoreanNamedCopyShowsItsTextsAndKeepsItsSettings)
{
    ClickerCopy copy("벡소", nullptr, true);
    {
        ClickerProcess program(copy);
        const HWND panel = program.WaitForPanel();
        ASSERT_TRUE(panel);
        for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
            EXPECT_EQ(Texts::kKeyEntries, ComboItems(program.Control(list))) << list;

        ::PostMessageW(panel, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        const HWND about = program.WaitForDialog(Texts::kAboutCaption);
        ASSERT_TRUE(about);
        EXPECT_TRUE(::FindWindowExW(about, nullptr, L"Static", L"다르몬 미렌 버전 1.5"));
        PostClick(about, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));

        Ask(program.Control(IDC_START_KEY), CB_SETCURSEL, 5);
        Ask(program.Control(IDC_END_KEY), CB_SETCURSEL, 6);
        Ask(program.Control(IDC_TOGGLE_KEY), CB_SETCURSEL, 13);
        Ask(program.Control(IDC_TOGGLE_ON), BM_CLICK);

        ::ShowWindow(panel, SW_MINIMIZE);
        ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(panel) != FALSE; }));
        ClickerProcess second(copy);
        ExpectSecondCopyReportsAndEnds(second);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel) && !::IsIconic(panel); }));

        CWin32Desktop desktop;
        EXPECT_EQ(panel, desktop.FindWindowWithProp(Wide(copy.Name()).c_str()));
        EXPECT_EQ(copy.ExePath(), Utf8(desktop.GetWindowProgram(panel).image.GetString()));
        EXPECT_TRUE(desktop.IsProcessOfThisUser(program.Id()));
        PostClick(panel, IDCANCEL);
        EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), desktop.WaitForProcess(program.Id(), kWaitMs));
        EXPECT_TRUE(desktop.WaitForWindowGone(panel, 0));
    }
    EXPECT_EQ(SETTINGS_SECTION "start=5\r\nend=6\r\ntoggle=13\r\ntime=150\r\nSW_AUTO=1\r\nSW_TOGGLE=0\r\n",
              copy.SettingsText());
}

// A restart as administrator that fails (here the program's file was moved
// meanwhile) says why in a box over the panel, under any code page, and the
// copy runs on as it was.
TEST(E2EText, AFailedRestartSaysWhyAndTheCopyRunsOn)
{
    ClickerCopy copy;
    ClickerProcess program(copy, ClickerProcess::Token::Linked);
    const HWND panel = program.WaitForPanel();
    ASSERT_TRUE(panel);
    const std::wstring moved = Wide(copy.ExePath()) + L".moved";
    ASSERT_TRUE(::MoveFileW(Wide(copy.ExePath()).c_str(), moved.c_str()));
    ChooseLastSystemMenuItem(program);
    const HWND box = program.WaitForMessageBox();
    ::MoveFileW(moved.c_str(), Wide(copy.ExePath()).c_str());
    ASSERT_TRUE(box);
    EXPECT_EQ(panel, ::GetWindow(box, GW_OWNER));
    EXPECT_EQ(Texts::RestartFailed(ERROR_FILE_NOT_FOUND), MessageBoxText(box));
    DismissMessageBox(box);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box) && ::IsWindowVisible(panel); }));
    EXPECT_TRUE(program.Close());
}
