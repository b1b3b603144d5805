#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/ForeignWindow.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kPanelCaption[] = "다르몬 미렌 버전";
const char kAlreadyRunning[] = "이미 있어.mutex";
const char kSecondCopy[] = "이미 존재하는것 같습니다.";

const std::vector<std::string> kKeyEntries = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11",
                                              "F12", "마우스 LEFT BUTTON", "마우스 RIGHT BUTTON"};

struct ExpectedControl {
    int id;
    const char* className;
    const char* text; // null: not compared
    bool visible;
    bool enabled;
};

const ExpectedControl kControls[] = {
    {IDC_HIDE, "Button", "숨기기", true, true},
    {IDC_TITLE, "Static", kPanelCaption, true, true},
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

bool SameClass(HWND window, const char* className)
{
    return ::lstrcmpiA(ClassOf(window).c_str(), className) == 0;
}

void CloseAndWait(ClickerProcess& program)
{
    PostClick(program.Panel(), IDCANCEL);
    program.WaitForExit();
}

} // namespace

TEST(E2EStartup, PanelShowsEveryControlAndTheExitButtonEndsTheProgram)
{
    ClickerCopy copy;
    ClickerProcess program(copy);
    const HWND panel = program.WaitForPanel();
    ASSERT_TRUE(panel);
    EXPECT_EQ(kPanelCaption, TextOf(panel));
    EXPECT_TRUE(::IsWindowVisible(panel));

    for (const ExpectedControl& expected : kControls) {
        SCOPED_TRACE(expected.id);
        const HWND control = program.Control(expected.id);
        ASSERT_TRUE(control);
        EXPECT_TRUE(SameClass(control, expected.className)) << ClassOf(control);
        if (expected.text) {
            EXPECT_EQ(expected.text, TextOf(control));
        }
        EXPECT_EQ(expected.visible, ::IsWindowVisible(control) != FALSE);
        EXPECT_EQ(expected.enabled, ::IsWindowEnabled(control) != FALSE);
    }
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_EQ(kKeyEntries, ComboItems(program.Control(list))) << list;

    // The arrows keep radius and turns within 1..10 and drive their edits.
    const std::pair<int, int> spins[] = {{IDC_RADIUS_SPIN, IDC_RADIUS}, {IDC_TURNS_SPIN, IDC_TURNS}};
    for (const auto& spin : spins) {
        EXPECT_EQ(MAKELONG(10, 1), Ask(program.Control(spin.first), UDM_GETRANGE)) << spin.first;
        EXPECT_EQ(program.Control(spin.second), reinterpret_cast<HWND>(Ask(program.Control(spin.first), UDM_GETBUDDY)));
    }

    CloseAndWait(program);
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_FALSE(::IsWindow(panel));
}

// The running panel comes back whether minimised or hidden to the tray.
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

        EXPECT_TRUE(first.IsRunning());
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel) && !::IsIconic(panel); }));
        CloseAndWait(first);
    }
}

TEST(E2EStartup, MutexWithoutPanelGivesOnlyTheClosingMessage)
{
    ClickerCopy copy;
    // Someone else holds the name, but no window carries the property.
    const std::unique_ptr<void, decltype(&::CloseHandle)> mutex(::CreateMutexA(nullptr, FALSE, copy.Name().c_str()),
                                                                &::CloseHandle);
    ClickerProcess second(copy);
    const HWND box = second.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(kSecondCopy, MessageBoxText(box));
    DismissMessageBox(box);
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(0u, second.ExitCode());
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
        sawDialog = sawDialog || FindTopLevel(program.Id(), kDialogClass) != nullptr;
        return !program.IsRunning();
    }));
    EXPECT_FALSE(sawDialog);
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_TRUE(::IsWindowVisible(legacy.Handle()));
    EXPECT_FALSE(::IsIconic(legacy.Handle()));
    // The panel never ran, so nothing was saved.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(copy.SettingsPath().c_str()));
}
