#include <windows.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The windows of every process that carry the copy's property.
std::vector<HWND> PanelsOf(const ClickerCopy& copy)
{
    std::vector<HWND> panels;
    const std::wstring property = Wide(copy.Name());
    for (HWND window = ::FindWindowExW(nullptr, nullptr, nullptr, nullptr); window;
         window = ::FindWindowExW(nullptr, window, nullptr, nullptr))
        if (::GetPropW(window, property.c_str()))
            panels.push_back(window);
    return panels;
}

} // namespace

// A copy started as an administrator's programs are while User Account
// Control holds the rights back offers to restart as administrator, last in
// its system menu. Chosen, it ends, and exactly one new copy comes up, with
// no box of the single-instance rules, showing the keys, the period and the
// boxes the first one showed. Under Wine both copies read the same settings
// file (on Windows they do not), so it is read-only here: the values can
// only have been handed over.
TEST(E2EAdministrator, ALimitedCopyRestartsAsAdministratorWithWhatItsPanelShowed)
{
    ClickerCopy copy("", SETTINGS_SECTION "start=1\r\nend=2\r\ntoggle=3\r\ntime=150\r\n");
    // Wine run as root writes read-only files all the same; a handle that
    // refuses writers keeps the file unwritable there too.
    ASSERT_TRUE(::SetFileAttributesW(Wide(copy.SettingsPath()).c_str(), FILE_ATTRIBUTE_READONLY));
    const std::unique_ptr<void, decltype(&::CloseHandle)> holder(
        ::CreateFileW(Wide(copy.SettingsPath()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                      nullptr),
        &::CloseHandle);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder.get());
    ClickerProcess first(copy, ClickerProcess::Token::Linked);
    ASSERT_TRUE(first.WaitForPanel());
    Ask(first.Control(IDC_START_KEY), CB_SETCURSEL, 6);
    Ask(first.Control(IDC_END_KEY), CB_SETCURSEL, 13);
    Ask(first.Control(IDC_TOGGLE_KEY), CB_SETCURSEL, 0);
    MoveSpeedBarTo(first, 42);
    Ask(first.Control(IDC_AUTO_ON), BM_CLICK);

    ChooseLastSystemMenuItem(first);
    ASSERT_TRUE(first.WaitForExit());
    EXPECT_EQ(0u, first.ExitCode());
    std::vector<HWND> panels;
    ASSERT_TRUE(WaitUntil([&] { return !(panels = PanelsOf(copy)).empty(); })) << "no new copy";
    DWORD successorId = 0;
    ::GetWindowThreadProcessId(panels[0], &successorId);
    ClickerProcess successor(copy, successorId);
    ASSERT_TRUE(successor.WaitForPanel());
    EXPECT_EQ(1u, PanelsOf(copy).size());
    EXPECT_EQ(nullptr, FindDialog(successorId, copy.Name())) << "a box of the single-instance rules";
    EXPECT_EQ(6, ComboSelection(successor.Control(IDC_START_KEY)));
    EXPECT_EQ(13, ComboSelection(successor.Control(IDC_END_KEY)));
    EXPECT_EQ(0, ComboSelection(successor.Control(IDC_TOGGLE_KEY)));
    EXPECT_EQ(42, ScrollPosition(successor.Control(IDC_SPEED)));
    EXPECT_EQ(SpeedLabel(42), TextOf(successor.Control(IDC_SPEED_TEXT)));
    EXPECT_EQ(BST_UNCHECKED, CheckState(successor.Control(IDC_AUTO_ON)));
    EXPECT_EQ(BST_CHECKED, CheckState(successor.Control(IDC_TOGGLE_ON)));
    EXPECT_FALSE(::IsWindowEnabled(successor.Control(IDC_START_KEY)));
    EXPECT_TRUE(successor.Close());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 150, kMissingSetting, kMissingSetting}), copy.SavedSettings());
}
