#include "settings/Handover.h"
#include "support/PanelFixture.h"
#include "support/Wait.h"

#include <algorithm>
#include <list>

namespace {

using Calls = std::vector<DesktopCall>;

// A panel of a clicker that does not run elevated, clicking at defaults.
class BlockedWindowTest : public PanelTest {
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

// The watch and the restart of a clicker that does not run elevated, on
// their own: a window stands in for the panel.
class ElevatedRestartTest : public ::testing::Test {
protected:
    ElevatedRestartTest()
    {
        desktop.elevated = FALSE;
        area.Attach(panel.top, nullptr);
        restart.Start(panel.top);
    }
    // What a tick that clicks at (100, 200) with the trigger keys able to
    // act asks of the desktop, once it has clicked.
    Calls Tick(bool clicking = true, bool wasClicking = true, bool keysCouldAct = true)
    {
        desktop.calls.clear();
        restart.AfterTick(clicking, wasClicking, {100, 200}, keysCouldAct);
        return desktop.calls;
    }
    // Clicks land in the window's child; the window's process is at that level.
    void ClickInto(const OtherWindow& window, DWORD level)
    {
        desktop.pointed = window.child;
        desktop.programs[window.top] = CRecordingDesktop::ProgramOf(window.top, level);
    }
    std::vector<std::string> NoticesText() const
    {
        std::vector<std::string> texts;
        for (const NOTIFYICONDATAW& notice : desktop.notices)
            texts.push_back(Utf8(notice.szInfo));
        return texts;
    }

    CRecordingDesktop desktop;
    OtherWindow panel{L"panel"};
    CNotificationArea area{desktop};
    CElevatedRestart restart{desktop, area, L"vexo_unit_restart"};
};

UINT LastItemOf(HMENU menu)
{
    return ::GetMenuItemID(menu, ::GetMenuItemCount(menu) - 1);
}

} // namespace

// Windows above the clicker's level (unreadable ones count as above) are told
// of once, by a notification with the window's caption; a tick at the same
// window asks the desktop once and nothing more. A window gone before its
// process was read, and Windows' ghost of a hung window, tell nothing.
TEST_F(ElevatedRestartTest, ClicksIntoAWindowAboveAreToldOfOnceAndCheckedCheaply)
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
        ClickInto(window, c.level);
        desktop.programs[window.top].processId = c.gone ? 0 : desktop.programs[window.top].processId;
        desktop.programs[window.top].ghost = c.ghost;
        const size_t told = desktop.notices.size() + (c.told ? 1 : 0);
        const Calls calls = Tick();
        EXPECT_EQ(1, std::count(calls.begin(), calls.end(), LevelCall(window.top))) << c.name;
        // Unchanged: one look at the point and at the front, no query of a process.
        EXPECT_EQ((Calls{WindowAtCall(100, 200), kForegroundQuery}), Tick()) << c.name;
        EXPECT_EQ(told, desktop.notices.size()) << c.name;
    }
    EXPECT_EQ((std::vector<std::string>{Texts::BlockedNotice("higher"), Texts::BlockedNotice("unreadable")}), NoticesText());
}

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

// What the panel's boxes and lists say reaches the watch: with both boxes
// off, or F1 where they are on, no key can act and the front is not looked at.
TEST_F(BlockedWindowTest, TheFrontIsWatchedOnlyWhileTheBoxesAndListsLetAKeyAct)
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

// The notice icon stays while its notification can still be chosen from the
// notification centre: a timeout or a close leaves it, and a later choice
// restarts. The system menu's item and the notification both start
// the program again as administrator, the panel shown and in front to own
// the consent prompt. Refused, the panel goes back to the tray and nothing
// else changes; given, the handover is offered to the new copy with the
// radius and turns shown, and this copy ends when it takes it, or withdraws
// the offer when it does not come.
TEST_F(BlockedWindowTest, RestartAsAdministratorHandsOverWhatThePanelShowsAndARefusalChangesNothing)
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
    EXPECT_EQ(::GetCurrentProcessId(), successor); // what it offers is seen end to end
    EXPECT_EQ((std::vector<int>{1, 2, 3, 150, 1, 1, 3, 10}),
              (std::vector<int>{values.saved.start, values.saved.end, values.saved.toggle, values.saved.time,
                                values.saved.autoOn, values.saved.toggleOn, values.radius, values.turns}));
    EXPECT_TRUE(::IsWindowVisible(window)) << "shown for the prompt, as the new copy comes up";
    Send(WM_TIMER, kHandoverTimerId);
    EXPECT_EQ(HandoverState::None, ReadHandover(window, Wide(appName).c_str(), successor, values)) << "withdrawn";
    Send(::RegisterWindowMessageW(kHandoverTakenMessage));
    PumpFor(0);
    EXPECT_TRUE(::IsWindow(window)) << "nothing was offered any more";

    Send(WM_SYSCOMMAND, IDM_RESTART_ELEVATED);
    Send(::RegisterWindowMessageW(kHandoverTakenMessage));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(window); }));
    EXPECT_EQ(1, SavedSetting(SettingsKey::kStart)) << "closed as its exit button closes it";
}

// While a box of the panel's own is open, nothing restarts: the new copy's
// word could not close a panel whose modal box runs.
TEST_F(BlockedWindowTest, NoRestartWhileTheAboutBoxIsOpen)
{
    ModalCloser closer;
    ::PostMessageW(panel->GetSafeHwnd(), WM_TRAYNOTIFY, kNoticeIconId, NIN_BALLOONUSERCLICK);
    Send(WM_SYSCOMMAND, IDM_ABOUTBOX);
    EXPECT_EQ(1, closer.shown);
    EXPECT_TRUE(desktop.launched.empty());
}

// The user's refusal at the consent prompt says nothing; any other failure
// is told in a box the panel owns (its text: E2EText).
TEST_F(ElevatedRestartTest, AFailedRestartIsToldAndARefusalIsNot)
{
    desktop.consent = false;
    for (const DWORD error : {ERROR_CANCELLED, ERROR_ACCESS_DENIED}) {
        desktop.refusal = error;
        EXPECT_FALSE(restart.Restart({}));
    }
    ASSERT_EQ(1u, desktop.boxes.size());
    EXPECT_EQ(panel.top, desktop.boxes[0].owner);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), desktop.boxes[0].type);
}

// The new copy takes the values offered only when its process is the one
// named; pending (not named yet), or named for another, it does not. The
// radius and turns, which no file keeps, travel with the six saved values.
TEST(Handover, IsTakenOnlyByTheProcessNamed)
{
    const OtherWindow panel(L"panel");
    const CText name = L"vexo_unit_handover";
    HandedOverValues taken = {};
    const DWORD self = ::GetCurrentProcessId();
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
    OfferHandover(panel.top, name, {{0, -1, 13, 1000, 2, 0}, 10, 4});
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
    NameSuccessor(panel.top, name, self + 4);
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
    NameSuccessor(panel.top, name, self);
    ASSERT_TRUE(IsHandedTo(panel.top, name, self, 0, taken));
    EXPECT_EQ((std::vector<int>{0, -1, 13, 1000, 2, 0, 10, 4}),
              (std::vector<int>{taken.saved.start, taken.saved.end, taken.saved.toggle, taken.saved.time,
                                taken.saved.autoOn, taken.saved.toggleOn, taken.radius, taken.turns}));
    WithdrawHandover(panel.top, name);
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
}

// Elevated, nothing is above the clicker: no item and no restart. Its
// window admits from lower levels exactly a second copy's request to show
// it, Explorer's new taskbar and its icons' messages. The request alone
// shows a panel hidden in the tray, restores a minimised one, and brings it
// to the front.
TEST_F(PanelTest, ElevatedPanelOffersNoRestartWatchesNoWindowAndAdmitsItsThreeMessages)
{
    Open();
    const HWND hwnd = panel->GetSafeHwnd();
    const UINT showRequest = ::RegisterWindowMessageW(kShowPanelMessage);
    EXPECT_EQ((Calls{FilterCall(hwnd, showRequest, MSGFLT_ALLOW),
                     FilterCall(hwnd, ::RegisterWindowMessageW(L"TaskbarCreated"), MSGFLT_ALLOW),
                     FilterCall(hwnd, WM_USER + 1, MSGFLT_ALLOW)}),
              desktop.CallsOf(DesktopCall::MessageFilter));
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), LastItemOf(::GetSystemMenu(hwnd, FALSE)));

    Click(IDC_HIDE);
    Send(showRequest);
    EXPECT_TRUE(::IsWindowVisible(hwnd) && desktop.iconsShown == 0);
    ::ShowWindow(hwnd, SW_MINIMIZE);
    Send(showRequest);
    EXPECT_FALSE(::IsIconic(hwnd)) << "restored";
    EXPECT_EQ((Calls{ForegroundSetCall(hwnd), ForegroundSetCall(hwnd)}), desktop.CallsOf(DesktopCall::ForegroundSet));
}

// The real desktop reads this process's own windows as its own program, at
// its own level, a window gone as no program's, and a window of the class
// "Ghost" as Windows' stand-in for another's.
TEST(Win32Desktop, ReadsTheProgramOfAWindow)
{
    CWin32Desktop desktop;
    const OtherWindow window(L"mine");
    const WindowProgram program = desktop.GetWindowProgram(window.top);
    wchar_t self[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(desktop.GetOwnIntegrityLevel(), program.level);
    EXPECT_EQ(::GetCurrentProcessId(), program.processId);
    EXPECT_EQ(std::wstring(self), program.image.GetString());
    EXPECT_FALSE(program.ghost);
    ::DestroyWindow(window.top);
    EXPECT_EQ(0u, desktop.GetWindowProgram(window.top).processId);

    // Windows' stand-in for a hung window, known by its class.
    WNDCLASSW ghostClass = {};
    ghostClass.lpfnWndProc = ::DefWindowProcW;
    ghostClass.lpszClassName = L"Ghost";
    ::RegisterClassW(&ghostClass);
    const HWND ghost = ::CreateWindowExW(0, L"Ghost", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(desktop.GetWindowProgram(ghost).ghost);
    ::DestroyWindow(ghost);
}
