#include "support/ElevatedRestartFixture.h"

#include <algorithm>
#include <list>

// The watch is reached through the restart that owns it and reports what it finds.
using BlockedWindowWatchTest = ElevatedRestartTest;

// Windows above the clicker's level (unreadable ones count as above) are told
// of once, by a notification with the window's caption; a tick at the same
// window asks the desktop once and nothing more. A window gone before its
// process was read, and Windows' ghost of a hung window, tell nothing.
TEST_F(BlockedWindowWatchTest, ClicksIntoAWindowAboveAreToldOfOnceAndCheckedCheaply)
{
    const struct {
        const char* name;
        DWORD level;
        bool told;
        bool gone, ghost;
    } cases[] = {{"higher", SECURITY_MANDATORY_HIGH_RID, true, false, false},
                 {"same", SECURITY_MANDATORY_MEDIUM_RID, false, false, false},
                 {"lower", SECURITY_MANDATORY_LOW_RID, false, false, false},
                 {"unreadable", kIntegrityUnreadable, true, false, false},
                 {"gone", kIntegrityUnreadable, false, true, false},
                 {"ghost", kIntegrityUnreadable, false, false, true}};
    std::list<OtherWindow> windows; // all alive, so that none takes another's handle
    for (const auto& c : cases) {
        const OtherWindow& window = windows.emplace_back(Wide(c.name).c_str());
        desktop.pointed = window.child;
        WindowProgram& program = desktop.programs[window.top] = CRecordingDesktop::ProgramOf(window.top, c.level);
        program.processId = c.gone ? 0 : program.processId;
        program.ghost = c.ghost;
        const size_t told = desktop.notices.size() + (c.told ? 1 : 0);
        const Calls calls = Tick();
        EXPECT_EQ(1, std::count(calls.begin(), calls.end(), LevelCall(window.top))) << c.name;
        // Unchanged: one look at the point and at the front, no query of a process.
        EXPECT_EQ((Calls{WindowAtCall(100, 200), kForegroundQuery}), Tick()) << c.name;
        EXPECT_EQ(told, desktop.notices.size()) << c.name;
    }
    EXPECT_EQ((std::vector<std::string>{Texts::BlockedNotice("higher"), Texts::BlockedNotice("unreadable")}), NoticesText());
}
