#include "support/IconMeasures.h"
#include "support/PanelFixture.h"
#include "support/Wait.h"

using namespace SettingsKey;

namespace {

// A real hidden panel, not open yet or open.
using ClickerDlgTest = PanelTest;
using ClickerDlgOpenTest = OpenPanelTest;
// What the user reads; scripts/test.sh runs this suite under several code pages.
using ClickerDlgTextTest = PanelTest;

// A panel of a clicker that does not run elevated, clicking at defaults.
class ClickerDlgNotElevatedTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        desktop.elevated = FALSE;
        Open();
        desktop.tapped = {VK_F2};
        Tick();
    }
    Calls TickCalls()
    {
        desktop.calls.clear();
        Tick();
        return desktop.calls;
    }
};

class ClickerDlgTrayTest : public OpenPanelTest {
protected:
    void SetUp() override
    {
        OpenPanelTest::SetUp();
        ::ShowWindow(panel->GetSafeHwnd(), SW_SHOW);
    }
    bool Visible() const { return ::IsWindowVisible(panel->GetSafeHwnd()) != FALSE; }
};

} // namespace

// The texts a user reads on the panel as it opens, those of the layout and
// those the program sets, and the up-downs' range; then the texts the
// program holds itself: the About item and box, the restart item and the
// notice of a window above (of a copy not elevated), the tray tip and the
// message for a non-integer. The key lists are read from outside, end to end.
TEST_F(ClickerDlgTextTest, PanelShowsItsTextsAndItsOwnTexts)
{
    desktop.elevated = FALSE;
    const std::pair<int, std::string> texts[] = {
        {IDC_HIDE, "숨기기"}, {IDC_TITLE, Texts::kPanelCaption}, {IDC_RADIUS, "8"}, {IDC_TURNS, "1"},
        {IDC_SPEED_TEXT, " 15/100"}, {IDC_START_KEY, Texts::kKeyEntries[1]}, {IDC_END_KEY, Texts::kKeyEntries[2]},
        {IDC_TOGGLE_KEY, Texts::kKeyEntries[3]}, {IDC_AUTO_ON, "On/Off"}, {IDC_TOGGLE_ON, "On/Off"},
        {IDOK, "확인"}, {IDCANCEL, "종료"}};
    Open();
    EXPECT_EQ(Texts::kPanelCaption, TextOf(panel->GetSafeHwnd()));
    for (const auto& text : texts)
        EXPECT_EQ(text.second, Text(text.first)) << text.first;
    for (int spin : {IDC_RADIUS_SPIN, IDC_TURNS_SPIN})
        EXPECT_EQ(MAKELONG(10, 1), SendTo(spin, UDM_GETRANGE)) << spin;

    wchar_t about[64] = L"";
    ::GetMenuStringW(::GetSystemMenu(panel->GetSafeHwnd(), FALSE), IDM_ABOUTBOX, about, 64, MF_BYCOMMAND);
    EXPECT_EQ("다르몬 정보(&A)...", Utf8(about));
    ::GetMenuStringW(::GetSystemMenu(panel->GetSafeHwnd(), FALSE), IDM_RESTART_ELEVATED, about, 64, MF_BYCOMMAND);
    EXPECT_EQ(Texts::kRestartElevatedItem, Utf8(about));
    const OtherWindow game(L"게임");
    desktop.foreground = game.top;
    desktop.programs[game.top] = CRecordingDesktop::ProgramOf(game.top, SECURITY_MANDATORY_HIGH_RID);
    Tick();
    ASSERT_EQ(1u, desktop.notices.size());
    EXPECT_EQ(Texts::kBlockedNoticeTitle, Utf8(desktop.notices[0].szInfoTitle));
    EXPECT_EQ(Texts::BlockedNotice("게임"), Utf8(desktop.notices[0].szInfo));
    ModalCloser closer;
    Send(WM_SYSCOMMAND, IDM_ABOUTBOX);
    EXPECT_EQ(Texts::kAboutCaption, closer.caption);
    ::SetWindowTextW(Control(IDC_TURNS), L"x");
    Send(WM_COMMAND, IDOK); // Enter: the exchange fails, and the panel stays
    EXPECT_EQ(Texts::kIntegerInputMessage, closer.text);
    EXPECT_TRUE(::IsWindow(panel->GetSafeHwnd()));
    Click(IDC_HIDE);
    EXPECT_EQ("벡소빨라 V1.0", Utf8(desktop.lastIcon.szTip));
}

// What the file holds is shown end to end; here, that cleared boxes grey
// their lists from the start, and each box greys and frees its own lists.
TEST_F(ClickerDlgTest, ClearedBoxesGreyTheirListsFromTheStartAndWhenClicked)
{
    SaveSetting(kAuto, L"0");
    SaveSetting(kToggleOn, L"0");
    Open();
    for (int box : {IDC_AUTO_ON, IDC_TOGGLE_ON})
        EXPECT_EQ(BST_UNCHECKED, Checked(box));
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_FALSE(Enabled(list));
    Click(IDC_AUTO_ON);
    EXPECT_TRUE(Enabled(IDC_START_KEY) && Enabled(IDC_END_KEY) && !Enabled(IDC_TOGGLE_KEY));
    Click(IDC_TOGGLE_ON);
    EXPECT_TRUE(Enabled(IDC_TOGGLE_KEY));
    Click(IDC_AUTO_ON);
    EXPECT_TRUE(!Enabled(IDC_START_KEY) && !Enabled(IDC_END_KEY) && Enabled(IDC_TOGGLE_KEY));
}

TEST_F(ClickerDlgTest, SavedPeriodIsHeldWithinTheSpeedBarBeforeTheTimerStarts)
{
    const struct {
        const wchar_t* saved;
        unsigned period;
        const char* label;
    } cases[] = {{L"5", 10, "  1/100"},        {L"155", 155, " 15/100"}, {L"1000", 1000, "100/100"},
                 {L"100000", 1000, "100/100"}, {L"-5", 1000, "100/100"}, {L"0", 10, "  1/100"}};
    for (const auto& c : cases) {
        SaveSetting(kTime, c.saved);
        Open();
        EXPECT_EQ(c.label, Text(IDC_SPEED_TEXT)) << c.saved;
        Close();
        EXPECT_EQ(static_cast<int>(c.period), SavedSetting(kTime)) << c.saved;
    }
}

TEST_F(ClickerDlgOpenTest, SpeedBarMovesOneStepForLinesPagesAndEndsAndTheLabelFollows)
{
    const int steps[][3] = {{SB_LINERIGHT, 0, 16}, {SB_PAGERIGHT, 0, 17}, {SB_RIGHT, 0, 18}, {SB_LINELEFT, 0, 17},
                            {SB_PAGELEFT, 0, 16}, {SB_LEFT, 0, 15}, {SB_ENDSCROLL, 70, 15}, {SB_THUMBPOSITION, 40, 40},
                            {SB_THUMBTRACK, 100, 100}, {SB_RIGHT, 0, 100}, {SB_THUMBTRACK, 1, 1}, {SB_PAGELEFT, 0, 1}};
    for (const auto& step : steps)
        EXPECT_EQ(step[2], Scroll(step[0], step[1])) << step[0];
    EXPECT_EQ("  1/100", Text(IDC_SPEED_TEXT));
}

TEST_F(ClickerDlgOpenTest, EnterClosesAndSavesWhatTheTimerRunsWithWhileEscSkipsTheExchange)
{
    Scroll(SB_THUMBPOSITION, 30);
    Tick();
    Scroll(SB_THUMBPOSITION, 50); // no tick after this move: not saved
    Select(IDC_START_KEY, 5);
    Click(IDC_TOGGLE_ON);
    Send(WM_COMMAND, IDOK);
    EXPECT_FALSE(::IsWindow(panel->GetSafeHwnd()));
    const int expected[] = {5, 2, 3, 300, 1, 0};
    const wchar_t* keys[] = {kStart, kEnd, kToggle, kTime, kAuto, kToggleOn};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expected[i], SavedSetting(keys[i])) << keys[i];

    Open();
    ::SetWindowTextW(Control(IDC_TURNS), L"x"); // reading it back would complain
    ModalCloser closer;
    Send(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(0, closer.shown);
    EXPECT_FALSE(::IsWindow(panel->GetSafeHwnd()));
    EXPECT_EQ(300, SavedSetting(kTime));
}

TEST_F(ClickerDlgOpenTest, SessionEndReleasesThePanelOnce)
{
    const HWND window = panel->GetSafeHwnd();
    Send(WM_ENDSESSION, TRUE);
    EXPECT_EQ(150, SavedSetting(kTime));
    EXPECT_FALSE(::KillTimer(window, kPeriodTimerId));
    EXPECT_EQ(nullptr, ::GetPropW(window, Wide(appName).c_str()));
    SaveSetting(kTime, L"777");
    Close(); // must not write a second time
    EXPECT_EQ(777, SavedSetting(kTime));
}

// Where no picture can be made for the control (one of no size), the one it
// shows stays, rather than one already deleted.
TEST_F(ClickerDlgOpenTest, PictureThatCannotBeMadeLeavesTheShownOne)
{
    ::SetWindowPos(Control(IDC_PICTURE), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    Send(WM_REMAKEART, USER_DEFAULT_SCREEN_DPI);
    BITMAP shown = {};
    const LRESULT image = SendTo(IDC_PICTURE, STM_GETIMAGE, IMAGE_BITMAP);
    EXPECT_NE(0, ::GetObjectW(reinterpret_cast<HBITMAP>(image), sizeof shown, &shown));
}

// Elevated, nothing is above the clicker: no item and no restart. Its
// window admits from lower levels exactly a second copy's request to show
// it, Explorer's new taskbar and its icons' messages. The request alone
// shows a panel hidden in the tray, restores a minimised one, and brings it
// to the front.
TEST_F(ClickerDlgTest, ElevatedPanelOffersNoRestartWatchesNoWindowAndAdmitsItsThreeMessages)
{
    Open();
    const HWND hwnd = panel->GetSafeHwnd();
    const UINT showRequest = ::RegisterWindowMessageW(kShowPanelMessage);
    EXPECT_EQ((Calls{FilterCall(hwnd, showRequest, MSGFLT_ALLOW),
                     FilterCall(hwnd, ::RegisterWindowMessageW(L"TaskbarCreated"), MSGFLT_ALLOW),
                     FilterCall(hwnd, WM_USER + 1, MSGFLT_ALLOW)}),
              desktop.CallsOf(DesktopCall::MessageFilter));
    const HMENU systemMenu = ::GetSystemMenu(hwnd, FALSE);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), ::GetMenuItemID(systemMenu, ::GetMenuItemCount(systemMenu) - 1));

    Click(IDC_HIDE);
    Send(showRequest);
    EXPECT_TRUE(::IsWindowVisible(hwnd) && desktop.iconsShown == 0);
    ::ShowWindow(hwnd, SW_MINIMIZE);
    Send(showRequest);
    EXPECT_FALSE(::IsIconic(hwnd)) << "restored";
    EXPECT_EQ((Calls{ForegroundSetCall(hwnd), ForegroundSetCall(hwnd)}), desktop.CallsOf(DesktopCall::ForegroundSet));
}

// What the panel's boxes and lists say reaches the watch: with both boxes
// off, or F1 where they are on, no key can act and the front is not looked at.
TEST_F(ClickerDlgNotElevatedTest, TheFrontIsWatchedOnlyWhileTheBoxesAndListsLetAKeyAct)
{
    EXPECT_TRUE(desktop.CallsOf(DesktopCall::MessageFilter).empty()) << "not elevated, it admits nothing";
    desktop.tapped = {VK_F3};
    Tick();
    Click(IDC_AUTO_ON);
    Click(IDC_TOGGLE_ON);
    EXPECT_EQ((Calls{KeyCall(VK_F4)}), TickCalls());
    Click(IDC_AUTO_ON);
    Click(IDC_TOGGLE_ON);
    Select(IDC_START_KEY, 0);
    Select(IDC_TOGGLE_KEY, 0);
    EXPECT_EQ((Calls{KeyCall(VK_F3)}), TickCalls());
    Select(IDC_TOGGLE_KEY, 3);
    EXPECT_EQ((Calls{KeyCall(VK_F3), KeyCall(VK_F4), kForegroundQuery}), TickCalls());
}

// While a box of the panel's own is open, nothing restarts: the new copy's
// word could not close a panel whose modal box runs.
TEST_F(ClickerDlgNotElevatedTest, NoRestartWhileTheAboutBoxIsOpen)
{
    ModalCloser closer;
    ::PostMessageW(panel->GetSafeHwnd(), WM_TRAYNOTIFY, kNoticeIconId, NIN_BALLOONUSERCLICK);
    Send(WM_SYSCOMMAND, IDM_ABOUTBOX);
    EXPECT_EQ(1, closer.shown);
    EXPECT_TRUE(desktop.launched.empty());
}

// The notice icon stays while its notification can still be chosen from the
// notification centre: a timeout or a close leaves it, and a later choice
// restarts. The system menu's item and the notification both start
// the program again as administrator, the panel shown and in front to own
// the consent prompt. Refused, the panel goes back to the tray and nothing
// else changes; given, the handover is offered to the new copy with the
// radius and turns shown, and this copy ends when it takes it, or withdraws
// the offer when it does not come (its end when it does: E2EJourney).
TEST_F(ClickerDlgNotElevatedTest, RestartAsAdministratorHandsOverWhatThePanelShowsAndARefusalChangesNothing)
{
    const HWND window = panel->GetSafeHwnd();
    DWORD successor = 0;
    HandedOverValues values = {};
    const OtherWindow game(L"게임");
    desktop.pointed = game.child;
    desktop.programs[game.top] = CRecordingDesktop::ProgramOf(game.top, SECURITY_MANDATORY_HIGH_RID);
    Tick();
    Send(WM_TRAYNOTIFY, kNoticeIconId, NIN_BALLOONTIMEOUT);
    Send(WM_TRAYNOTIFY, kNoticeIconId, NIN_BALLOONHIDE);
    EXPECT_EQ(1, desktop.iconsShown) << "the notice icon, kept for the notification centre";
    desktop.consent = false;
    Send(WM_TRAYNOTIFY, kNoticeIconId, NIN_BALLOONUSERCLICK);
    EXPECT_EQ(1u, desktop.launched.size()) << "chosen later, it still restarts";

    Click(IDC_HIDE);
    desktop.launched.clear();
    desktop.ownerShown.clear();
    desktop.calls.clear();
    Send(WM_TRAYNOTIFY, kTrayIconId, NIN_BALLOONUSERCLICK);
    wchar_t self[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(std::vector<std::wstring>{std::wstring(L"runas ") + self}, desktop.launched);
    EXPECT_EQ(std::vector<bool>{true}, desktop.ownerShown) << "the prompt's owner shown";
    EXPECT_EQ(Calls{ForegroundSetCall(window)}, desktop.CallsOf(DesktopCall::ForegroundSet));
    EXPECT_TRUE(!::IsWindowVisible(window) && desktop.iconsShown == 1) << "back in the tray";
    EXPECT_EQ(HandoverState::None, ReadHandover(window, Wide(appName).c_str(), successor, values));
    PumpFor(0); // whatever the refusal posted
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(kMissingSetting, SavedSetting(SettingsKey::kStart));

    desktop.consent = true;
    SendTo(IDC_RADIUS_SPIN, UDM_SETPOS32, 0, 3);
    SendTo(IDC_TURNS_SPIN, UDM_SETPOS32, 0, 10);
    Send(WM_SYSCOMMAND, IDM_RESTART_ELEVATED);
    ASSERT_EQ(HandoverState::Named, ReadHandover(window, Wide(appName).c_str(), successor, values));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 150, 1, 1, 3, 10}),
              (std::vector<int>{values.saved.start, values.saved.end, values.saved.toggle, values.saved.time,
                                values.saved.autoOn, values.saved.toggleOn, values.radius, values.turns}));
    EXPECT_TRUE(::IsWindowVisible(window)) << "shown for the prompt, as the new copy comes up";
    Send(WM_TIMER, kHandoverTimerId);
    EXPECT_EQ(HandoverState::None, ReadHandover(window, Wide(appName).c_str(), successor, values)) << "withdrawn";
    Send(::RegisterWindowMessageW(kHandoverTakenMessage));
    PumpFor(0);
    EXPECT_TRUE(::IsWindow(window)) << "nothing was offered any more";
}

// What crosses the panel: the ticks of its own period timer once it is
// ready. The speed bar, the lists and the boxes reach the tick as they reach
// the settings file; the radius as the sweep shows it (E2EEngine).
TEST_F(ClickerDlgOpenTest, TicksOfItsOwnTimerOnceReadyPollTheKeys)
{
    Send(WM_TIMER, kPeriodTimerId + 10); // another timer's
    CClickerDlgTestAccess::SetReady(*panel, false);
    Tick();
    EXPECT_TRUE(desktop.calls.empty());
    CClickerDlgTestAccess::SetReady(*panel, true);
    Tick();
    EXPECT_EQ((Calls{KeyCall(VK_F2), KeyCall(VK_F3), KeyCall(VK_F4)}), desktop.calls);
}

// Hide adds one icon however often it is pressed, the panel keeping its big
// icon; the menu's "보기", a show from outside and closing take the icon
// away; the icon's messages and a new scale reach the notification area.
TEST_F(ClickerDlgTrayTest, HideAddsOneIconAndShowingThePanelInAnyWayTakesItAway)
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
