#include "settings/ClickerSettings.h"
#include "support/PanelFixture.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

class TrayTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        Open();
        desktop.Clear();
    }
    bool Visible() const { return ::IsWindowVisible(panel->GetSafeHwnd()) != FALSE; }
    void Hide() const { Click(IDC_HIDE); }
};

// Notices, when the icon is deleted, whether the settings were written yet.
class OrderWatchingDesktop : public CRecordingDesktop {
public:
    BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAA* data) override
    {
        if (message == NIM_DELETE)
            timeSavedAtDelete = ::GetPrivateProfileIntA(SettingsKey::kSection, SettingsKey::kTime, -1, iniPath.c_str());
        return CRecordingDesktop::ShellNotifyIcon(message, data);
    }
    std::string iniPath;
    int timeSavedAtDelete = 0;
};

} // namespace

TEST_F(TrayTest, HideAddsOneIconDescribedForTheShell)
{
    ::ShowWindow(panel->GetSafeHwnd(), SW_SHOW);
    Hide();
    Hide();
    EXPECT_EQ(1, desktop.iconsShown);
    EXPECT_EQ((std::vector<DesktopCall>{TrayCall(NIM_ADD)}), desktop.calls);
    EXPECT_TRUE(panel->m_bInTray);
    EXPECT_FALSE(Visible());

    const NOTIFYICONDATAA& icon = desktop.lastIcon;
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE), icon.cbSize);
    EXPECT_EQ(panel->GetSafeHwnd(), icon.hWnd);
    EXPECT_EQ(128u, icon.uID);
    EXPECT_EQ(7u, icon.uFlags);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), icon.uCallbackMessage);
    EXPECT_NE(nullptr, icon.hIcon);
    EXPECT_STREQ("벡소빨라 V1.0", icon.szTip);
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon.hIcon), Send(WM_GETICON, ICON_BIG));
}

TEST_F(TrayTest, LeavingTheTrayDeletesTheIconAndShowsThePanel)
{
    Hide();
    panel->LeaveTray();
    EXPECT_EQ(0, desktop.iconsShown);
    EXPECT_FALSE(panel->m_bInTray);
    EXPECT_TRUE(Visible());
    // Out of the tray already: nothing more to delete.
    panel->LeaveTray();
    EXPECT_EQ((std::vector<DesktopCall>{TrayCall(NIM_ADD), TrayCall(NIM_DELETE)}), desktop.calls);
    EXPECT_EQ(reinterpret_cast<LRESULT>(panel->m_hIcon), Send(WM_GETICON, ICON_BIG));
}

TEST_F(TrayTest, ShownFromOutsideWhileHiddenLeavesTheTray)
{
    Hide();
    ::ShowWindow(panel->GetSafeHwnd(), SW_SHOW);
    EXPECT_FALSE(panel->m_bInTray);
    EXPECT_EQ(0, desktop.iconsShown);
    Hide();
    EXPECT_EQ(1, desktop.iconsShown);
}

TEST_F(TrayTest, RecreatedTaskbarGetsTheIconBackOnlyWhileInTheTray)
{
    const UINT taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    Send(taskbarCreated);
    EXPECT_TRUE(desktop.calls.empty());
    Hide();
    Send(taskbarCreated);
    EXPECT_EQ((std::vector<DesktopCall>{TrayCall(NIM_ADD), TrayCall(NIM_ADD)}), desktop.calls);
}

TEST_F(TrayTest, OnlyTheRightButtonReleaseOpensTheMenu)
{
    Hide();
    desktop.Clear();
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MOUSEMOVE})
        EXPECT_EQ(1, Send(WM_TRAYNOTIFY, kTrayIconId, mouse)) << mouse;
    EXPECT_TRUE(desktop.calls.empty());
    EXPECT_TRUE(panel->m_bInTray);
}

TEST(TrayDestruction, DestroyingThePanelInTheTrayDeletesTheIconBeforeSaving)
{
    OrderWatchingDesktop desktop;
    const std::string appName = "vexo_unit_TrayDestruction";
    char directory[MAX_PATH] = "";
    ::GetWindowsDirectoryA(directory, MAX_PATH);
    desktop.iniPath = std::string(directory) + "\\" + appName + ".INI";
    ::DeleteFileA(desktop.iniPath.c_str());
    {
        CClickerDlg panel(desktop, appName);
        ASSERT_NE(nullptr, panel.CreateHidden());
        panel.OnHide();
        ::SendMessageA(panel.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    }
    EXPECT_EQ(0, desktop.iconsShown);
    EXPECT_EQ(-1, desktop.timeSavedAtDelete);
    EXPECT_EQ(150, static_cast<int>(::GetPrivateProfileIntA(SettingsKey::kSection, SettingsKey::kTime, -1,
                                                           desktop.iniPath.c_str())));
    ::DeleteFileA(desktop.iniPath.c_str());
}
