#include "panel/AboutDlg.h"
#include "support/IconMeasures.h"
#include "support/PanelFixture.h"

using namespace SettingsKey;

// What the user reads; scripts/test.sh runs this suite under several code pages.
using PanelTextTest = PanelTest;

// The texts a user reads on the panel as it opens, those of the layout and
// those the program sets, and the up-downs' range; then the texts the
// program holds itself: the About item and box, the restart item and the
// notice of a window above (of a copy not elevated), the tray tip and the
// message for a non-integer. The key lists are read from outside, end to end.
TEST_F(PanelTextTest, PanelShowsItsTextsAndItsOwnTexts)
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

// Moved to a screen of another scale, the About box shows the icon at that
// scale's size. The panel's art is checked end to end.
TEST(AboutBox, IconFollowsTheBoxsScale)
{
    CAboutDlg about;
    const HWND box = about.CreateHidden();
    ASSERT_TRUE(box);
    RECT suggested = {0, 0, 700, 200};
    ::SendMessageW(box, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    const LRESULT icon = ::SendDlgItemMessageW(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0);
    EXPECT_TRUE(MetricsAt(SM_CXICON, SM_CYICON, 192) == IconSizeOf(reinterpret_cast<HICON>(icon)));
}

// What the file holds is shown end to end; here, that cleared boxes grey
// their lists from the start.
TEST_F(PanelTest, SavedClearedBoxesStartWithTheirListsGreyed)
{
    SaveSetting(kAuto, L"0");
    SaveSetting(kToggleOn, L"0");
    Open();
    for (int box : {IDC_AUTO_ON, IDC_TOGGLE_ON})
        EXPECT_EQ(BST_UNCHECKED, Checked(box));
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_FALSE(Enabled(list));
}

TEST_F(PanelTest, SavedPeriodIsHeldWithinTheSpeedBarBeforeTheTimerStarts)
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

TEST_F(PanelTest, SpeedBarMovesOneStepForLinesPagesAndEndsAndTheLabelFollows)
{
    Open();
    const int steps[][3] = {{SB_LINERIGHT, 0, 16}, {SB_PAGERIGHT, 0, 17}, {SB_RIGHT, 0, 18}, {SB_LINELEFT, 0, 17},
                            {SB_PAGELEFT, 0, 16}, {SB_LEFT, 0, 15}, {SB_ENDSCROLL, 70, 15}, {SB_THUMBPOSITION, 40, 40},
                            {SB_THUMBTRACK, 100, 100}, {SB_RIGHT, 0, 100}, {SB_THUMBTRACK, 1, 1}, {SB_PAGELEFT, 0, 1}};
    for (const auto& step : steps)
        EXPECT_EQ(step[2], Scroll(step[0], step[1])) << step[0];
    EXPECT_EQ("  1/100", Text(IDC_SPEED_TEXT));
}

TEST_F(PanelTest, RadiusFollowsItsUpDownAndTheBoxesGreyTheirLists)
{
    Open();
    // The sweep shows that the radius follows; here, that it stays within 1..10.
    SendTo(IDC_RADIUS_SPIN, UDM_SETPOS32, 0, 11);
    EXPECT_EQ("10", Text(IDC_RADIUS));
    SendTo(IDC_RADIUS_SPIN, UDM_SETPOS32, 0, 0);
    EXPECT_EQ("1", Text(IDC_RADIUS));

    Click(IDC_AUTO_ON);
    EXPECT_TRUE(!Enabled(IDC_START_KEY) && !Enabled(IDC_END_KEY) && Enabled(IDC_TOGGLE_KEY));
    Click(IDC_TOGGLE_ON);
    EXPECT_FALSE(Enabled(IDC_TOGGLE_KEY));
    Click(IDC_AUTO_ON);
    EXPECT_TRUE(Enabled(IDC_START_KEY) && Enabled(IDC_END_KEY));
}

TEST_F(PanelTest, EnterClosesAndSavesWhatTheTimerRunsWithWhileEscSkipsTheExchange)
{
    Open();
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

TEST_F(PanelTest, SessionEndReleasesThePanelOnce)
{
    Open();
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
TEST_F(OpenPanelTest, PictureThatCannotBeMadeLeavesTheShownOne)
{
    ::SetWindowPos(Control(IDC_PICTURE), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    Send(WM_REMAKEART, USER_DEFAULT_SCREEN_DPI);
    BITMAP shown = {};
    const LRESULT image = SendTo(IDC_PICTURE, STM_GETIMAGE, IMAGE_BITMAP);
    EXPECT_NE(0, ::GetObjectW(reinterpret_cast<HBITMAP>(image), sizeof shown, &shown));
}
