#include "support/ElevatedRestartFixture.h"

// A program is told of once, however many windows it shows, known by its
// image where that can be read and else by its process, until clicking has
// stopped and started again; its stop takes the notice icon away. The
// window in front is told of whether clicking runs or not, but only while a
// trigger key could act.
TEST_F(ElevatedRestartTest, EachProgramIsToldOfOnceUntilClickingStartsAgainAndTheFrontOnlyWhileKeysCouldAct)
{
    const OtherWindow game(L"게임"), gameAgain(L"게임 2"),
        tool(L"A caption far too long to be shown whole in the notice, so it is cut short"), toolAgain(L"tool"),
        untitled(L"");
    constexpr DWORD kHigh = SECURITY_MANDATORY_HIGH_RID;
    for (const OtherWindow* window : {&game, &gameAgain})
        desktop.programs[window->top] = CRecordingDesktop::ProgramOf(window->top, kHigh, L"C:\\Games\\game.exe");
    for (const OtherWindow* window : {&tool, &toolAgain}) // the same process, its image unreadable
        (desktop.programs[window->top] = CRecordingDesktop::ProgramOf(window->top, kHigh)).processId = 1234;
    for (const OtherWindow* window : {&game, &tool, &gameAgain, &toolAgain}) {
        desktop.pointed = window->child;
        Tick();
    }
    EXPECT_EQ(1, desktop.iconsShown);
    Tick(false, true);
    EXPECT_EQ(0, desktop.iconsShown) << "clicking stopped";
    desktop.pointed = nullptr;
    desktop.foreground = untitled.top;
    desktop.programs[untitled.top] = CRecordingDesktop::ProgramOf(untitled.top, SECURITY_MANDATORY_HIGH_RID);
    Tick(false, false);
    desktop.foreground = game.top;
    EXPECT_EQ(Calls{}, Tick(false, false, false)) << "no key could act: the front is not even looked at";
    Tick(true, false);
    EXPECT_EQ((std::vector<std::string>{Texts::BlockedNotice("게임"),
                                        Texts::BlockedNotice("A caption far too long to be shown whole in the notice, so …"),
                                        Texts::BlockedNotice("(제목 없음)"), Texts::BlockedNotice("게임")}),
              NoticesText());
}

// The user's refusal at the consent prompt says nothing; any other failure
// is told in a warning box (its owner and text: E2EText).
TEST_F(ElevatedRestartTest, AFailedRestartIsToldAndARefusalIsNot)
{
    desktop.consent = false;
    EXPECT_FALSE(restart.Restart({}));
    EXPECT_TRUE(desktop.boxes.empty()) << "refused";
    desktop.refusal = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(restart.Restart({}));
    ASSERT_EQ(1u, desktop.boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), desktop.boxes[0].type);
}
