#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/ForeignWindow.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char kAlreadyRunning[] = "이미 있어.mutex";
const char kSecondCopy[] = "이미 존재하는것 같습니다.";

} // namespace

TEST(E2EStartup, PanelShowsEveryControlAndTheExitButtonEndsTheProgram)
{
    struct Expected {
        int id;
        const char* className;
        const char* text; // null: not compared
        bool visible, enabled;
    };
    const Expected controls[] = {
        {IDC_HIDE, "Button", "숨기기", true, true},
        {IDC_TITLE, "Static", "다르몬 미렌 버전", true, true},
        {IDC_RADIUS, "Edit", "8", true, true},
        {IDC_SCALE, "msctls_trackbar32", nullptr, true, false},
        {IDC_TURNS, "Edit", "1", true, true},
        {IDC_SPEED_TEXT, "Static", " 15/100", true, true},
        {IDC_SPEED, "ScrollBar", nullptr, true, true},
        {IDC_START_KEY, "ComboBox", "F2", true, true},
        {IDC_END_KEY, "ComboBox", "F3", true, true},
        {IDC_TOGGLE_KEY, "ComboBox", "F4", true, true},
        {IDC_RADIUS_SPIN, "msctls_updown32", nullptr, true, true},
        {IDC_TURNS_SPIN, "msctls_updown32", nullptr, true, true},
        {IDC_AUTO_ON, "Button", "On/Off", true, true},
        {IDC_TOGGLE_ON, "Button", "On/Off", true, true},
        {IDOK, "Button", "확인", false, true},
        {IDCANCEL, "Button", "종료", true, true},
    };
    const std::vector<std::string> keyEntries = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11",
                                                 "F12", "마우스 LEFT BUTTON", "마우스 RIGHT BUTTON"};
    ClickerCopy copy;
    ClickerProcess program(copy);
    const HWND panel = program.WaitForPanel();
    ASSERT_TRUE(panel);
    EXPECT_EQ("다르몬 미렌 버전", TextOf(panel));
    EXPECT_TRUE(::IsWindowVisible(panel));
    for (const Expected& expected : controls) {
        SCOPED_TRACE(expected.id);
        const HWND control = program.Control(expected.id);
        ASSERT_TRUE(control);
        EXPECT_EQ(0, ::lstrcmpiA(expected.className, ClassOf(control).c_str())) << ClassOf(control);
        EXPECT_EQ(expected.text ? expected.text : TextOf(control), TextOf(control));
        EXPECT_EQ(expected.visible, ::IsWindowVisible(control) != FALSE);
        EXPECT_EQ(expected.enabled, ::IsWindowEnabled(control) != FALSE);
    }
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_EQ(keyEntries, ComboItems(program.Control(list))) << list;
    // The arrows keep radius and turns within 1..10 and drive their edits.
    for (int spin : {IDC_RADIUS_SPIN, IDC_TURNS_SPIN}) {
        EXPECT_EQ(MAKELONG(10, 1), Ask(program.Control(spin), UDM_GETRANGE)) << spin;
        const HWND buddy = reinterpret_cast<HWND>(Ask(program.Control(spin), UDM_GETBUDDY));
        EXPECT_EQ(program.Control(spin == IDC_RADIUS_SPIN ? IDC_RADIUS : IDC_TURNS), buddy);
    }
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

// Whether the running panel is minimised or hidden to the tray, it comes back.
TEST(E2EStartup, SecondCopyReportsTwiceInOrderEndsAndBringsThePanelBack)
{
    for (const bool minimise : {true, false}) {
        SCOPED_TRACE(minimise ? "minimised" : "hidden");
        ClickerCopy copy(minimise ? "minimised" : "hidden");
        ClickerProcess first(copy);
        const HWND panel = first.WaitForPanel();
        ASSERT_TRUE(panel);
        if (minimise)
            ::ShowWindow(panel, SW_MINIMIZE);
        else
            PostClick(panel, IDC_HIDE);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(panel) || ::IsIconic(panel); }));

        ClickerProcess second(copy);
        for (const char* text : {kAlreadyRunning, kSecondCopy}) {
            const HWND box = second.WaitForMessageBox();
            ASSERT_TRUE(box);
            EXPECT_EQ(text, MessageBoxText(box));
            EXPECT_EQ(nullptr, ::GetWindow(box, GW_OWNER));
            DismissMessageBox(box);
            ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
        }
        ASSERT_TRUE(second.WaitForExit());
        EXPECT_EQ(0u, second.ExitCode());
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel) && !::IsIconic(panel); }));
        EXPECT_TRUE(first.Close());
    }
}

TEST(E2EStartup, LegacyWindowIsRestoredAndStartUpEndsWithoutAnyWindow)
{
    ForeignWindow legacy("VEXO V1.0");
    ASSERT_TRUE(legacy.Handle());
    ::ShowWindow(legacy.Handle(), SW_MINIMIZE);
    ClickerCopy copy;
    ClickerProcess program(copy);
    bool sawDialog = false;
    ASSERT_TRUE(WaitUntil([&] {
        sawDialog = sawDialog || FindDialog(program.Id());
        return !program.IsRunning();
    }));
    EXPECT_FALSE(sawDialog);
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_TRUE(::IsWindowVisible(legacy.Handle()));
    EXPECT_FALSE(::IsIconic(legacy.Handle()));
    // The panel never ran, so nothing was saved.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(copy.SettingsPath().c_str()));
}
