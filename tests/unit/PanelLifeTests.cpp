#include "settings/ClickerSettings.h"
#include "support/PanelFixture.h"

#include <commctrl.h>

#include <gtest/gtest.h>

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
    EXPECT_EQ(" 15/100", ControlText(IDC_SPEED_TEXT));
    EXPECT_EQ(BST_CHECKED, Check(IDC_AUTO_ON));
    EXPECT_EQ(BST_CHECKED, Check(IDC_TOGGLE_ON));
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_TRUE(IsEnabled(list)) << list;
    EXPECT_EQ("8", ControlText(IDC_RADIUS));
    EXPECT_EQ("1", ControlText(IDC_TURNS));
    EXPECT_TRUE(panel->m_bReady);
    EXPECT_FALSE(panel->m_bClicking || panel->m_bInTray || panel->m_bSweeping);
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), ::GetPropA(panel->GetSafeHwnd(), appName.c_str()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(panel->m_hIcon), Send(WM_GETICON, ICON_BIG));
    EXPECT_EQ(reinterpret_cast<LRESULT>(panel->m_hIcon), Send(WM_QUERYDRAGICON));

    for (int spin : {IDC_RADIUS_SPIN, IDC_TURNS_SPIN}) {
        int low = 0, high = 0;
        ::SendMessageA(Control(spin), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(1, low);
        EXPECT_EQ(10, high);
    }
    const HMENU systemMenu = ::GetSystemMenu(panel->GetSafeHwnd(), FALSE);
    char aboutText[64] = "";
    ::GetMenuStringA(systemMenu, IDM_ABOUTBOX, aboutText, sizeof aboutText, MF_BYCOMMAND);
    EXPECT_STREQ("다르몬 정보(&A)...", aboutText);
}

TEST_F(PanelTest, SavedValuesSelectKeysSetTheBarAndGreyTheLists)
{
    SaveSetting(kStart, "12");
    SaveSetting(kEnd, "13");
    SaveSetting(kToggle, "0");
    SaveSetting(kTime, "300");
    SaveSetting(kAuto, "0");
    SaveSetting(kToggleOn, "0");
    Open();
    EXPECT_EQ(12, Selection(IDC_START_KEY));
    EXPECT_EQ(13, Selection(IDC_END_KEY));
    EXPECT_EQ(0, Selection(IDC_TOGGLE_KEY));
    EXPECT_EQ(300u, panel->m_nInterval);
    EXPECT_EQ(30, SpeedPosition());
    EXPECT_EQ(" 30/100", ControlText(IDC_SPEED_TEXT));
    EXPECT_EQ(BST_UNCHECKED, Check(IDC_AUTO_ON));
    EXPECT_EQ(BST_UNCHECKED, Check(IDC_TOGGLE_ON));
    for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY})
        EXPECT_FALSE(IsEnabled(list)) << list;
}

TEST_F(PanelTest, SavedPeriodIsHeldWithinTheSpeedBar)
{
    const struct {
        const char* saved;
        unsigned period;
        int position;
        const char* label;
    } cases[] = {
        {"5", 10, 1, "  1/100"},          {"155", 155, 15, " 15/100"},   {"1000", 1000, 100, "100/100"},
        {"100000", 1000, 100, "100/100"}, {"-5", 1000, 100, "100/100"}, {"0", 10, 1, "  1/100"},
    };
    for (const auto& c : cases) {
        SaveSetting(kTime, c.saved);
        Open();
        EXPECT_EQ(c.period, panel->m_nInterval) << c.saved;
        EXPECT_EQ(c.position, SpeedPosition()) << c.saved;
        EXPECT_EQ(c.label, ControlText(IDC_SPEED_TEXT)) << c.saved;
        EXPECT_EQ(kPeriodTimerId, panel->m_nTimer) << c.saved;
        Close();
    }
}

TEST_F(PanelTest, UnreadableValuesStillGiveAWorkingPanel)
{
    for (const char* garbage : {"abc", "", "99999999999", "-2147483649", "1e3", " 7 "}) {
        for (const char* key : {kStart, kEnd, kToggle, kTime, kAuto, kToggleOn})
            SaveSetting(key, garbage);
        Open();
        for (int list : {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY}) {
            const int selected = Selection(list);
            EXPECT_TRUE(selected >= -1 && selected < kKeyCount) << garbage;
        }
        EXPECT_GE(panel->m_nInterval, kPeriodMin) << garbage;
        EXPECT_LE(panel->m_nInterval, kPeriodMax) << garbage;
        EXPECT_EQ(kPeriodTimerId, panel->m_nTimer) << garbage;
        Tick();
        EXPECT_EQ(static_cast<unsigned>(SpeedPosition()) * 10, panel->m_nInterval) << garbage;
        Close();
    }
}

TEST_F(PanelTest, KeyIndexesOutsideTheListsLeaveNoSelection)
{
    SaveSetting(kStart, "14");
    SaveSetting(kEnd, "-1");
    SaveSetting(kToggle, "99999");
    Open();
    EXPECT_EQ(-1, Selection(IDC_START_KEY));
    EXPECT_EQ(-1, Selection(IDC_END_KEY));
    EXPECT_EQ(-1, Selection(IDC_TOGGLE_KEY));
    Close();
    EXPECT_EQ(-1, SavedSetting(kStart));
    EXPECT_EQ(-1, SavedSetting(kToggle));
}

TEST_F(PanelTest, SpeedBarMovesOneStepForLinesPagesAndEndsAndTheLabelFollows)
{
    Open();
    const HWND bar = Control(IDC_SPEED);
    auto scroll = [&](int code, int position = 0) {
        Send(WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
        return SpeedPosition();
    };
    EXPECT_EQ(16, scroll(SB_LINERIGHT));
    EXPECT_EQ(17, scroll(SB_PAGERIGHT));
    EXPECT_EQ(18, scroll(SB_RIGHT));
    EXPECT_EQ(17, scroll(SB_LINELEFT));
    EXPECT_EQ(16, scroll(SB_PAGELEFT));
    EXPECT_EQ(15, scroll(SB_LEFT));
    EXPECT_EQ(15, scroll(SB_ENDSCROLL, 70));
    EXPECT_EQ(40, scroll(SB_THUMBPOSITION, 40));
    EXPECT_EQ(" 40/100", ControlText(IDC_SPEED_TEXT));
    EXPECT_EQ(100, scroll(SB_THUMBTRACK, 100));
    EXPECT_EQ(100, scroll(SB_RIGHT));
    EXPECT_EQ("100/100", ControlText(IDC_SPEED_TEXT));
    EXPECT_EQ(1, scroll(SB_THUMBTRACK, 1));
    EXPECT_EQ(1, scroll(SB_PAGELEFT));
    EXPECT_EQ("  1/100", ControlText(IDC_SPEED_TEXT));
    // The period follows at the next tick, not here.
    EXPECT_EQ(150u, panel->m_nInterval);
}

TEST_F(PanelTest, RadiusFollowsItsUpDownAndTheBoxesGreyTheirLists)
{
    Open();
    ::SendMessageA(Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, 10);
    EXPECT_EQ("10", ControlText(IDC_RADIUS));
    EXPECT_EQ(10, panel->m_nRadius);
    EXPECT_EQ(80, panel->SweepLimit());
    ::SendMessageA(Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, 0);
    EXPECT_EQ(1, panel->m_nRadius);

    Click(IDC_AUTO_ON);
    EXPECT_EQ(0, panel->m_bAuto);
    EXPECT_FALSE(IsEnabled(IDC_START_KEY));
    EXPECT_FALSE(IsEnabled(IDC_END_KEY));
    EXPECT_TRUE(IsEnabled(IDC_TOGGLE_KEY));
    Click(IDC_TOGGLE_ON);
    EXPECT_EQ(0, panel->m_bToggle);
    EXPECT_FALSE(IsEnabled(IDC_TOGGLE_KEY));
    Click(IDC_AUTO_ON);
    EXPECT_EQ(1, panel->m_bAuto);
    EXPECT_TRUE(IsEnabled(IDC_START_KEY));
    EXPECT_TRUE(IsEnabled(IDC_END_KEY));
}

TEST_F(PanelTest, EnterExchangesClosesAndSavesThePeriodTheTimerRuns)
{
    Open();
    Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(Control(IDC_SPEED)));
    Tick();
    EXPECT_EQ(300u, panel->m_nInterval);
    ::SendMessageA(Control(IDC_START_KEY), CB_SETCURSEL, 5, 0);
    Click(IDC_TOGGLE_ON);
    Send(WM_COMMAND, IDOK);
    EXPECT_TRUE(panel->HasEnded());
    EXPECT_FALSE(::IsWindow(panel->GetSafeHwnd()));
    EXPECT_EQ(5, SavedSetting(kStart));
    EXPECT_EQ(2, SavedSetting(kEnd));
    EXPECT_EQ(3, SavedSetting(kToggle));
    EXPECT_EQ(300, SavedSetting(kTime));
    EXPECT_EQ(1, SavedSetting(kAuto));
    EXPECT_EQ(0, SavedSetting(kToggleOn));
}

TEST_F(PanelTest, ClosingBeforeATickSavesThePreviousPeriod)
{
    Open();
    Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(Control(IDC_SPEED)));
    Send(WM_COMMAND, IDCANCEL);
    EXPECT_EQ(150, SavedSetting(kTime));
}

TEST_F(PanelTest, EnterWithAnUnreadableEditKeepsThePanelOpen)
{
    Open();
    ::SetWindowTextA(Control(IDC_TURNS), "x");
    {
        ModalCloser closer;
        Send(WM_COMMAND, IDOK);
        EXPECT_EQ("정수를 입력하십시오.", closer.text);
    }
    EXPECT_FALSE(panel->HasEnded());
    EXPECT_TRUE(::IsWindow(panel->GetSafeHwnd()));
    EXPECT_EQ(kMissing, SavedSetting(kTime));
}

TEST_F(PanelTest, SessionEndReleasesThePanelOnce)
{
    Open();
    const HWND window = panel->GetSafeHwnd();
    Send(WM_ENDSESSION, TRUE);
    EXPECT_EQ(150, SavedSetting(kTime));
    EXPECT_EQ(0u, panel->m_nTimer);
    EXPECT_EQ(nullptr, ::GetPropA(window, appName.c_str()));
    // The window's later destruction must not write a second time.
    SaveSetting(kTime, "777");
    Close();
    EXPECT_EQ(777, SavedSetting(kTime));
}

TEST_F(PanelTest, SystemMenuOpensTheAboutBox)
{
    Open();
    ModalCloser closer;
    Send(WM_SYSCOMMAND, IDM_ABOUTBOX);
    EXPECT_EQ(1, closer.shown);
    EXPECT_EQ("다르몬 정보", closer.caption);
}
