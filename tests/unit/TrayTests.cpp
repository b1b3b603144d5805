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

// Hide adds one icon however often it is pressed, the panel keeping its big
// icon; the menu's "보기", a show from outside and closing take the icon
// away; the icon's messages and a new scale reach the notification area.
TEST_F(TrayTest, HideAddsOneIconAndShowingThePanelInAnyWayTakesItAway)
{
    Click(IDC_HIDE);
    Click(IDC_HIDE);
    EXPECT_TRUE(!Visible() && desktop.iconsShown == 1);
    const LRESULT bigIcon = Send(WM_GETICON, ICON_BIG);
    EXPECT_TRUE(bigIcon && desktop.lastIcon.hIcon != reinterpret_cast<HICON>(bigIcon));
    EXPECT_EQ(bigIcon, Send(WM_QUERYDRAGICON));
    desktop.notificationAreaDpi = 192;
    RECT suggested = {0, 0, 400, 300};
    Send(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(MetricsAt(SM_CXSMICON, SM_CYSMICON, 192) == IconSizeOf(desktop.lastIcon.hIcon));
    Send(::RegisterWindowMessageW(L"TaskbarCreated"));

    // "보기", chosen with the keys as the menu opens on the icon's right click.
    PostKey(panel->GetSafeHwnd(), VK_DOWN);
    PostKey(panel->GetSafeHwnd(), VK_RETURN);
    Send(WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONUP);
    EXPECT_FALSE(Visible()) << "only the right button opens the menu";
    Send(WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP);
    EXPECT_TRUE(Visible());
    Click(IDC_HIDE);
    ::ShowWindow(panel->GetSafeHwnd(), SW_SHOW); // as a second copy shows it
    Click(IDC_HIDE);
    Send(WM_COMMAND, IDCANCEL); // closed in the tray: the icon goes, once, and the settings are saved
    EXPECT_EQ((Calls{TrayCall(NIM_ADD), TrayCall(NIM_MODIFY), TrayCall(NIM_ADD), TrayCall(NIM_DELETE),
                     TrayCall(NIM_ADD), TrayCall(NIM_DELETE), TrayCall(NIM_ADD), TrayCall(NIM_DELETE)}),
              desktop.CallsOf(DesktopCall::TrayIcon));
    EXPECT_EQ(150, SavedSetting(SettingsKey::kTime));
}
