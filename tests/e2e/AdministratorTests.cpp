#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <memory>
#include <string>

namespace {

// Only Wine starts a program "as administrator" without asking anybody.
bool UnderWine()
{
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
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
    if (!UnderWine())
        GTEST_SKIP() << "on Windows the restart raises a consent prompt, which no test may answer";
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
    Ask(first.Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, 3);
    Ask(first.Control(IDC_TURNS_SPIN), UDM_SETPOS32, 0, 10);

    ChooseLastSystemMenuItem(first);
    ASSERT_TRUE(first.WaitForExit());
    EXPECT_EQ(0u, first.ExitCode());
    const std::wstring property = Wide(copy.Name());
    HWND panel = nullptr;
    const auto isPanel = [&](HWND window) { return ::GetPropW(window, property.c_str()) != nullptr; };
    ASSERT_TRUE(WaitUntil([&] { return (panel = FindTopLevel(kAnyProcess, isPanel)) != nullptr; })) << "no new copy";
    DWORD successorId = 0;
    ::GetWindowThreadProcessId(panel, &successorId);
    ClickerProcess successor(copy, successorId);
    ASSERT_TRUE(successor.WaitForPanel());
    EXPECT_EQ(nullptr, FindTopLevel(kAnyProcess, [&](HWND window) { return window != panel && isPanel(window); }));
    EXPECT_EQ(nullptr, FindDialog(successorId, copy.Name())) << "a box of the single-instance rules";
    EXPECT_EQ((std::vector<int>{6, 13, 0, 42, BST_UNCHECKED, BST_CHECKED}), ShownValues(successor));
    EXPECT_EQ("3", TextOf(successor.Control(IDC_RADIUS)));
    EXPECT_EQ("10", TextOf(successor.Control(IDC_TURNS)));
    EXPECT_TRUE(successor.Close());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 150, kMissingSetting, kMissingSetting}), copy.SavedSettings());
}

// A copy that Windows refuses the mutex, as it refuses a copy without
// administrator rights the mutex of one run with them, is a second copy:
// with no panel to bring forward, its one box, then its end, and nothing
// written. A mutex that lets others only wait on it is refused here too.
TEST(E2EAdministrator, ACopyRefusedTheMutexIsASecondCopy)
{
    ClickerCopy copy;
    PSECURITY_DESCRIPTOR security = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100000;;;WD)", SDDL_REVISION_1,
                                                                       &security, nullptr));
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, security, FALSE};
    const std::unique_ptr<void, decltype(&::CloseHandle)> mutex(
        ::CreateMutexW(&attributes, FALSE, Wide(copy.Name()).c_str()), &::CloseHandle);
    ::LocalFree(security);
    ASSERT_TRUE(mutex.get());
    ASSERT_EQ(nullptr, ::CreateMutexW(nullptr, TRUE, Wide(copy.Name()).c_str()));
    ASSERT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), ::GetLastError());

    ClickerProcess refused(copy);
    const HWND box = refused.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Texts::kSecondCopyMessages[1], MessageBoxText(box));
    DismissMessageBox(box);
    ASSERT_TRUE(refused.WaitForExit());
    EXPECT_EQ(0u, refused.ExitCode());
    EXPECT_EQ("", copy.SettingsText());
}
