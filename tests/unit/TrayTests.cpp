#include "support/IconMeasures.h"
#include "support/PanelFixture.h"

namespace {

using Calls = std::vector<DesktopCall>;

class TrayTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        Open();
        ::ShowWindow(panel->GetSafeHwnd(), SW_SHOW);
        desktop.calls.clear();
    }
    bool Visible() const { return ::IsWindowVisible(panel->GetSafeHwnd()) != FALSE; }
};

} // namespace

TEST_F(TrayTest, HideTwiceAddsOneIconAndLeavingDeletesItAndShowsThePanel)
{
    desktop.notificationAreaDpi = 144;
    Click(IDC_HIDE);
    Click(IDC_HIDE);
    EXPECT_TRUE(!Visible() && desktop.iconsShown == 1);
    const NOTIFYICONDATAW& icon = desktop.lastIcon;
    // The first form of the record, whose size every Windows takes.
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE), icon.cbSize);
    EXPECT_EQ(panel->GetSafeHwnd(), icon.hWnd);
    EXPECT_EQ(128u, icon.uID);
    EXPECT_EQ(7u, icon.uFlags);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), icon.uCallbackMessage);
    // The tray's icon is made for the small size at the notification area's
    // scale, which is not the panel's; the panel keeps its big one.
    EXPECT_TRUE(MetricsAt(SM_CXSMICON, SM_CYSMICON, 144) == IconSizeOf(icon.hIcon));
    const LRESULT bigIcon = Send(WM_GETICON, ICON_BIG);
    EXPECT_TRUE(bigIcon && icon.hIcon != reinterpret_cast<HICON>(bigIcon));
    EXPECT_EQ(bigIcon, Send(WM_QUERYDRAGICON));

    // "보기", chosen with the keys as the menu opens on the icon's right click.
    PostKey(panel->GetSafeHwnd(), VK_DOWN);
    PostKey(panel->GetSafeHwnd(), VK_RETURN);
    Send(WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP);
    EXPECT_TRUE(Visible());
    Close(); // out of the tray already: the icon is not deleted twice
    EXPECT_EQ((Calls{TrayCall(NIM_ADD), TrayCall(NIM_DELETE)}), desktop.CallsOf(DesktopCall::TrayIcon));
}

// The icon follows the notification area's scale when it changes, and a
// re-created taskbar gets it again at the scale the new one has.
TEST_F(TrayTest, PanelShownFromOutsideARecreatedTaskbarAndNewScalesKeepIconAndWindowInStep)
{
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    Send(taskbarCreated); // not in the tray: nothing to add
    Click(IDC_HIDE);
    Send(WM_DISPLAYCHANGE); // the same scale: nothing to give again
    desktop.notificationAreaDpi = 192;
    RECT suggested = {0, 0, 400, 300};
    Send(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(MetricsAt(SM_CXSMICON, SM_CYSMICON, 192) == IconSizeOf(desktop.lastIcon.hIcon));
    Send(taskbarCreated); // the same scale: added again all the same
    desktop.notificationAreaDpi = 120;
    Send(taskbarCreated);
    EXPECT_TRUE(MetricsAt(SM_CXSMICON, SM_CYSMICON, 120) == IconSizeOf(desktop.lastIcon.hIcon));
    ::ShowWindow(panel->GetSafeHwnd(), SW_SHOW);
    Close(); // out of the tray already: the icon is not deleted twice
    EXPECT_EQ((Calls{TrayCall(NIM_ADD), TrayCall(NIM_MODIFY), TrayCall(NIM_ADD), TrayCall(NIM_ADD),
                     TrayCall(NIM_DELETE)}),
              desktop.calls);
}

TEST_F(TrayTest, OnlyTheRightButtonReleaseOpensTheMenu)
{
    Click(IDC_HIDE);
    desktop.calls.clear();
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MOUSEMOVE})
        EXPECT_EQ(1, Send(WM_TRAYNOTIFY, kTrayIconId, mouse)) << mouse;
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(TrayTest, ClosingThePanelInTheTrayTakesTheIconAwayAndSaves)
{
    Click(IDC_HIDE);
    Send(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(0, desktop.iconsShown);
    EXPECT_EQ(150, SavedSetting(SettingsKey::kTime));
}
