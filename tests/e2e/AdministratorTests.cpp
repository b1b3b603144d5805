#include <windows.h>
#include <commctrl.h>

#include "platform/Desktop.h"
#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <memory>
#include <string>

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

// The real desktop on another copy's panel: found among the top-level
// windows by its property, its program named by its path, run as this
// user, and waited for until it has ended.
TEST(E2EAdministrator, TheDesktopFindsAnotherCopyAndWaitsForItsEnd)
{
    ClickerCopy copy;
    ClickerProcess program(copy);
    const HWND panel = program.WaitForPanel();
    ASSERT_TRUE(panel);
    CWin32Desktop desktop;
    EXPECT_EQ(panel, desktop.FindWindowWithProp(Wide(copy.Name()).c_str()));
    EXPECT_EQ(copy.ExePath(), Utf8(desktop.GetWindowProgram(panel).image.GetString()));
    EXPECT_TRUE(desktop.IsProcessOfThisUser(program.Id()));
    PostClick(panel, IDCANCEL);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), desktop.WaitForProcess(program.Id(), kWaitMs));
    EXPECT_TRUE(desktop.WaitForWindowGone(panel, 0));
}
