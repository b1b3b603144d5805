#include "panel/NotificationArea.h"
#include "support/IconMeasures.h"
#include "support/RecordingDesktop.h"

#include <gtest/gtest.h>

namespace {

// The icons of a window that stands in for the panel, on the recording desktop.
class NotificationAreaTest : public ::testing::Test {
protected:
    NotificationAreaTest() { area.Attach(panel, nullptr); }

    CRecordingDesktop desktop;
    CNotificationArea area{desktop};
    OtherWindow window;
    HWND panel = window.top;
};

} // namespace

// The tray icon's record is the first, 152-byte form that every Windows
// takes, with the icon made at the small-icon size of the notification
// area's scale, added once. Explorer's new taskbar gets the icon again, at
// the scale it has; a new scale of the area gives the icon again in its
// size, the same scale nothing; without the icon, nothing at all.
TEST_F(NotificationAreaTest, TrayIconRecordAtTheAreasScaleGivenAgainToANewTaskbarOrScale)
{
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    EXPECT_TRUE(area.OnMessage(taskbarCreated)); // not in the tray: nothing to add
    desktop.notificationAreaDpi = 144;
    EXPECT_TRUE(area.AddTrayIcon());
    EXPECT_FALSE(area.AddTrayIcon());
    const NOTIFYICONDATAW& icon = desktop.lastIcon;
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE), icon.cbSize);
    EXPECT_EQ(panel, icon.hWnd);
    EXPECT_EQ(128u, icon.uID);
    EXPECT_EQ(7u, icon.uFlags);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), icon.uCallbackMessage);
    EXPECT_TRUE(MetricsAt(SM_CXSMICON, SM_CYSMICON, 144) == IconSizeOf(icon.hIcon));
    EXPECT_FALSE(area.OnMessage(WM_DISPLAYCHANGE)); // the same scale: nothing to give again
    desktop.notificationAreaDpi = 192;
    area.OnMessage(WM_SETTINGCHANGE);
    EXPECT_TRUE(MetricsAt(SM_CXSMICON, SM_CYSMICON, 192) == IconSizeOf(desktop.lastIcon.hIcon));
    area.OnMessage(taskbarCreated); // the same scale: added again all the same
    desktop.notificationAreaDpi = 120;
    area.OnMessage(taskbarCreated);
    EXPECT_TRUE(MetricsAt(SM_CXSMICON, SM_CYSMICON, 120) == IconSizeOf(desktop.lastIcon.hIcon));
    EXPECT_TRUE(area.DeleteTrayIcon());
    EXPECT_FALSE(area.DeleteTrayIcon());
    EXPECT_EQ((Calls{TrayCall(NIM_ADD), TrayCall(NIM_MODIFY), TrayCall(NIM_ADD), TrayCall(NIM_ADD), TrayCall(NIM_DELETE)}),
              desktop.CallsOf(DesktopCall::TrayIcon));
}

// Notifications come from the notice icon, added with the first and given
// the next, or from the tray icon while there is one, whose image, tip and
// menu stay. Explorer's new taskbar has forgotten the notice icon too: the
// next notice adds it again, rather than going to an icon that is gone. The
// tray icon takes the notice icon's place.
TEST_F(NotificationAreaTest, NotificationsComeFromTheNoticeIconOrTheTrayIcon)
{
    area.Notify(L"title", L"first");
    area.Notify(L"title", L"second");
    area.OnMessage(area.TaskbarCreatedMessage());
    desktop.iconsShown = 0; // the new taskbar shows none
    area.Notify(L"title", L"after a new taskbar");
    EXPECT_EQ(1, desktop.iconsShown);
    area.AddTrayIcon();
    EXPECT_EQ(1, desktop.iconsShown) << "the tray icon alone";
    area.Notify(L"title", L"third");
    ASSERT_EQ(4u, desktop.notices.size());
    const UINT added = NIF_INFO | NIF_MESSAGE | NIF_ICON | NIF_TIP;
    const std::pair<UINT, UINT> records[] = {
        {kNoticeIconId, added}, {kNoticeIconId, NIF_INFO}, {kNoticeIconId, added}, {kTrayIconId, NIF_INFO}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(records[i].first, desktop.notices[i].uID) << i;
        EXPECT_EQ(records[i].second, desktop.notices[i].uFlags) << i;
        EXPECT_EQ(static_cast<DWORD>(NIIF_WARNING), desktop.notices[i].dwInfoFlags) << i;
    }
    EXPECT_EQ((Calls{TrayCall(NIM_ADD), TrayCall(NIM_MODIFY), TrayCall(NIM_ADD), TrayCall(NIM_ADD), TrayCall(NIM_DELETE),
                     TrayCall(NIM_MODIFY)}),
              desktop.CallsOf(DesktopCall::TrayIcon));
}
