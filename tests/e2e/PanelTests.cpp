#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

namespace {

// Several ticks of the default 150 ms period: nothing outside the program
// shows when the timer last ran.
constexpr DWORD kSomeTicksMs = 800;

void MoveSpeedBar(const ClickerProcess& program, WORD code, WORD position = 0)
{
    Ask(program.Panel(), WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(program.Control(IDC_SPEED)));
}

bool ListsEnabled(const ClickerProcess& program, std::initializer_list<int> lists)
{
    for (int list : lists) {
        if (!::IsWindowEnabled(program.Control(list)))
            return false;
    }
    return true;
}

} // namespace

TEST(E2EPanel, FirstStartUsesDefaultsAndClosingSavesThePeriodTheTimerTookUp)
{
    ClickerCopy copy;
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    EXPECT_EQ((std::vector<int>{1, 2, 3}), program.KeySelections());
    EXPECT_EQ(15, ScrollPosition(program.Control(IDC_SPEED)));
    EXPECT_EQ(" 15/100", TextOf(program.Control(IDC_SPEED_TEXT)));
    EXPECT_EQ(BST_CHECKED, CheckState(program.Control(IDC_AUTO_ON)));
    EXPECT_EQ(BST_CHECKED, CheckState(program.Control(IDC_TOGGLE_ON)));
    EXPECT_TRUE(ListsEnabled(program, {IDC_START_KEY, IDC_END_KEY, IDC_TOGGLE_KEY}));

    MoveSpeedBar(program, SB_THUMBPOSITION, 30);
    EXPECT_EQ(" 30/100", TextOf(program.Control(IDC_SPEED_TEXT)));
    PumpFor(kSomeTicksMs);
    PostClick(program.Panel(), IDCANCEL);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ((std::vector<int>{1, 2, 3, 300, 1, 1}), copy.SavedSettings()) << copy.SettingsText();
}

TEST(E2EPanel, SpeedBarMovesOneStepPerCodeWithinOneToHundred)
{
    struct Step {
        WORD code;
        WORD position;
        int expected;
    };
    // Starts at 15. Page and far-end codes move by one, like the arrows.
    const Step steps[] = {
        {SB_LINERIGHT, 0, 16}, {SB_PAGERIGHT, 0, 17},   {SB_RIGHT, 0, 18},         {SB_LINELEFT, 0, 17},
        {SB_PAGELEFT, 0, 16},  {SB_LEFT, 0, 15},        {SB_ENDSCROLL, 0, 15},     {SB_THUMBTRACK, 99, 99},
        {SB_PAGERIGHT, 0, 100}, {SB_RIGHT, 0, 100},     {SB_THUMBPOSITION, 500, 100}, {SB_THUMBPOSITION, 2, 2},
        {SB_LINELEFT, 0, 1},   {SB_PAGELEFT, 0, 1},     {SB_THUMBTRACK, 0, 1},
    };
    ClickerCopy copy;
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    char label[16];
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "code " << step.code << " position " << step.position);
        MoveSpeedBar(program, step.code, step.position);
        EXPECT_EQ(step.expected, ScrollPosition(program.Control(IDC_SPEED)));
        std::snprintf(label, sizeof label, "%3d/100", step.expected);
        EXPECT_EQ(label, TextOf(program.Control(IDC_SPEED_TEXT)));
    }
    PostClick(program.Panel(), IDCANCEL);
    ASSERT_TRUE(program.WaitForExit());
}

TEST(E2EPanel, OnOffBoxesGreyTheirListsAtStartAndWhenClicked)
{
    struct Case {
        const char* autoOn;
        const char* toggleOn;
    };
    for (const Case& saved : {Case{"0", "1"}, Case{"1", "0"}}) {
        const bool autoOn = saved.autoOn[0] == '1';
        const bool toggleOn = saved.toggleOn[0] == '1';
        SCOPED_TRACE(testing::Message() << "SW_AUTO " << autoOn << " SW_TOGGLE " << toggleOn);
        ClickerCopy copy(saved.autoOn);
        copy.WriteSetting("SW_AUTO", saved.autoOn);
        copy.WriteSetting("SW_TOGGLE", saved.toggleOn);
        ClickerProcess program(copy);
        ASSERT_TRUE(program.WaitForPanel());
        for (int round = 0; round < 2; ++round) {
            const bool autoNow = autoOn != (round == 1);
            const bool toggleNow = toggleOn != (round == 1);
            EXPECT_EQ(autoNow ? BST_CHECKED : BST_UNCHECKED, CheckState(program.Control(IDC_AUTO_ON)));
            EXPECT_EQ(toggleNow ? BST_CHECKED : BST_UNCHECKED, CheckState(program.Control(IDC_TOGGLE_ON)));
            EXPECT_EQ(autoNow, ListsEnabled(program, {IDC_START_KEY, IDC_END_KEY})) << "round " << round;
            EXPECT_EQ(toggleNow, ListsEnabled(program, {IDC_TOGGLE_KEY})) << "round " << round;
            // Greying is all the boxes do to the lists: the choices stay.
            EXPECT_EQ((std::vector<int>{1, 2, 3}), program.KeySelections());
            if (round == 0) {
                Ask(program.Control(IDC_AUTO_ON), BM_CLICK);
                Ask(program.Control(IDC_TOGGLE_ON), BM_CLICK);
            }
        }
        PostClick(program.Panel(), IDCANCEL);
        ASSERT_TRUE(program.WaitForExit());
        EXPECT_EQ(autoOn ? 0 : 1, copy.ReadSetting("SW_AUTO"));
        EXPECT_EQ(toggleOn ? 0 : 1, copy.ReadSetting("SW_TOGGLE"));
    }
}

TEST(E2EPanel, AboutBoxOpensFromTheSystemMenuAsAModalDialogOfThePanel)
{
    ClickerCopy copy;
    ClickerProcess program(copy);
    const HWND panel = program.WaitForPanel();
    ASSERT_TRUE(panel);
    ::PostMessageW(panel, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND about = program.WaitForDialog("다르몬 정보");
    ASSERT_TRUE(about);
    EXPECT_EQ(panel, ::GetWindow(about, GW_OWNER));
    EXPECT_FALSE(::IsWindowEnabled(panel));
    EXPECT_EQ("확인", TextOf(::GetDlgItem(about, IDOK)));

    ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));
    EXPECT_TRUE(::IsWindowEnabled(panel));
    PostClick(panel, IDCANCEL);
    ASSERT_TRUE(program.WaitForExit());
}

TEST(E2EPanel, EveryWayOfClosingEndsTheProgramAndSavesTheListsAsTheyStand)
{
    struct Way {
        const char* name;
        void (*close)(HWND panel);
    };
    const Way ways[] = {
        {"exit_button", [](HWND panel) { PostClick(panel, IDCANCEL); }},
        {"hidden_default_button", [](HWND panel) { PostClick(panel, IDOK); }},
        {"caption_close", [](HWND panel) { ::PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"close_request", [](HWND panel) { ::PostMessageW(panel, WM_CLOSE, 0, 0); }},
        {"escape_key", [](HWND panel) { PostKey(panel, VK_ESCAPE); }},
        {"enter_key", [](HWND panel) { PostKey(panel, VK_RETURN); }},
    };
    // Side by side: each run has its own name and so its own file.
    std::list<ClickerRun> runs;
    for (const Way& way : ways)
        runs.emplace_back(way.name, nullptr);
    int index = 4;
    auto run = runs.begin();
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(run->process.WaitForPanel());
        // Chosen without a notification, as only the saved value matters.
        Ask(run->process.Control(IDC_START_KEY), CB_SETCURSEL, index);
        Ask(run->process.Control(IDC_TOGGLE_KEY), CB_SETCURSEL, static_cast<WPARAM>(-1));
        way.close(run->process.Panel());
        ++run, ++index;
    }
    index = 4;
    run = runs.begin();
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(run->process.WaitForExit());
        EXPECT_EQ(0u, run->process.ExitCode());
        EXPECT_EQ((std::vector<int>{index, 2, -1, 150, 1, 1}), run->copy.SavedSettings()) << run->copy.SettingsText();
        ++run, ++index;
    }
}
