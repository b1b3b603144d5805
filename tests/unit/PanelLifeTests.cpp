#include "support/PanelFixture.h"

using namespace SettingsKey;

TEST_F(PanelTest, WithoutSettingsFileStartsFromTheDefaults)
{
    Open();
    EXPECT_EQ(1, Selection(IDC_START_KEY));
    EXPECT_EQ(2, Selection(IDC_END_KEY));
    EXPECT_EQ(3, Selection(IDC_TOGGLE_KEY));
    EXPECT_EQ(150u, panel->m_nInterval);
    EXPECT_EQ(kPeriodTimerId, panel->m_nTimer);
    EXPECT_EQ(15, SpeedPosition());
    EXPECT_EQ(" 15/100", Text(IDC_SPEED_TEXT));
    for (int box : {IDC_AUTO_ON, IDC_TOGGLE_ON})
        EXPECT_EQ(BST_CHECKED, Checked(box));
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_TRUE(Enabled(list));
    EXPECT_TRUE(panel->m_bReady && !panel->m_bClicking && !panel->m_bInTray && !panel->m_bSweeping);
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), ::GetPropA(panel->GetSafeHwnd(), appName.c_str()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(panel->m_hIcon), Send(WM_GETICON, ICON_BIG));
    EXPECT_EQ(reinterpret_cast<LRESULT>(panel->m_hIcon), Send(WM_QUERYDRAGICON));
    char about[64] = "";
    ::GetMenuStringA(::GetSystemMenu(panel->GetSafeHwnd(), FALSE), IDM_ABOUTBOX, about, sizeof about, MF_BYCOMMAND);
    EXPECT_STREQ("다르몬 정보(&A)...", about);
    ModalCloser closer;
    Send(WM_SYSCOMMAND, IDM_ABOUTBOX);
    EXPECT_EQ("다르몬 정보", closer.caption);
}

// The layout as a user sees it: every control with its class, text and state,
// the fourteen key entries in each list, and the up-downs' range and buddies.
TEST_F(PanelTest, PanelHoldsEveryControlWithItsTextAndTheKeyLists)
{
    struct Expected {
        int id;
        const char* className;
        const char* text; // null: not compared
        bool visible, enabled;
    };
    const Expected controls[] = {
        {IDC_HIDE, "Button", "숨기기", true, true},
        {IDC_TITLE, "Static", "다르몬 미렌 버전", true, true},
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
    const std::vector<std::string> keyEntries = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11",
                                                 "F12", "마우스 LEFT BUTTON", "마우스 RIGHT BUTTON"};
    Open();
    EXPECT_EQ("다르몬 미렌 버전", TextOf(panel->GetSafeHwnd()));
    for (const Expected& expected : controls) {
        SCOPED_TRACE(expected.id);
        const HWND control = Control(expected.id);
        ASSERT_TRUE(control);
        EXPECT_EQ(0, ::lstrcmpiA(expected.className, ClassOf(control).c_str())) << ClassOf(control);
        EXPECT_EQ(expected.text ? expected.text : TextOf(control), TextOf(control));
        // The panel itself is hidden here: the control's own style tells.
        EXPECT_EQ(expected.visible, (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0);
        EXPECT_EQ(expected.enabled, Enabled(expected.id));
    }
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_EQ(keyEntries, ComboItems(Control(list))) << list;
    for (int spin : {IDC_RADIUS_SPIN, IDC_TURNS_SPIN}) {
        EXPECT_EQ(MAKELONG(10, 1), SendTo(spin, UDM_GETRANGE)) << spin;
        EXPECT_EQ(Control(spin == IDC_RADIUS_SPIN ? IDC_RADIUS : IDC_TURNS), reinterpret_cast<HWND>(SendTo(spin, UDM_GETBUDDY)));
    }
}

// What the file holds is shown end to end; here, that cleared boxes grey
// their lists from the start.
TEST_F(PanelTest, SavedClearedBoxesStartWithTheirListsGreyed)
{
    SaveSetting(kAuto, "0");
    SaveSetting(kToggleOn, "0");
    Open();
    for (int box : {IDC_AUTO_ON, IDC_TOGGLE_ON})
        EXPECT_EQ(BST_UNCHECKED, Checked(box));
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_FALSE(Enabled(list));
}

TEST_F(PanelTest, SavedPeriodIsHeldWithinTheSpeedBarBeforeTheTimerStarts)
{
    const struct {
        const char* saved;
        unsigned period;
        const char* label;
    } cases[] = {{"5", 10, "  1/100"},        {"155", 155, " 15/100"}, {"1000", 1000, "100/100"},
                 {"100000", 1000, "100/100"}, {"-5", 1000, "100/100"}, {"0", 10, "  1/100"}};
    for (const auto& c : cases) {
        SaveSetting(kTime, c.saved);
        Open();
        EXPECT_EQ(c.period, panel->m_nInterval) << c.saved;
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
    EXPECT_EQ(150u, panel->m_nInterval); // the period follows at the next tick, not here
}

TEST_F(PanelTest, RadiusFollowsItsUpDownAndTheBoxesGreyTheirLists)
{
    Open();
    SendTo(IDC_RADIUS_SPIN, UDM_SETPOS32, 0, 10);
    EXPECT_EQ(10, panel->m_nRadius);
    SendTo(IDC_RADIUS_SPIN, UDM_SETPOS32, 0, 0);
    EXPECT_EQ("1", Text(IDC_RADIUS));
    EXPECT_EQ(1, panel->m_nRadius);

    Click(IDC_AUTO_ON);
    EXPECT_TRUE(panel->m_bAuto == 0 && !Enabled(IDC_START_KEY) && !Enabled(IDC_END_KEY) && Enabled(IDC_TOGGLE_KEY));
    Click(IDC_TOGGLE_ON);
    EXPECT_TRUE(panel->m_bToggle == 0 && !Enabled(IDC_TOGGLE_KEY));
    Click(IDC_AUTO_ON);
    EXPECT_TRUE(panel->m_bAuto == 1 && Enabled(IDC_START_KEY) && Enabled(IDC_END_KEY));
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
    const char* keys[] = {kStart, kEnd, kToggle, kTime, kAuto, kToggleOn};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(expected[i], SavedSetting(keys[i])) << keys[i];

    Open();
    ::SetWindowTextA(Control(IDC_TURNS), "x"); // reading it back would complain
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
    EXPECT_EQ(0u, panel->m_nTimer);
    EXPECT_EQ(nullptr, ::GetPropA(window, appName.c_str()));
    SaveSetting(kTime, "777");
    Close(); // must not write a second time
    EXPECT_EQ(777, SavedSetting(kTime));
}
