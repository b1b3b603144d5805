#include "settings/Handover.h"
#include "support/PanelFixture.h"
#include "support/Wait.h"

#include <algorithm>
#include <list>

namespace {

using Calls = std::vector<DesktopCall>;

// A top-level window of another program, as the clicker sees it, with a
// child where the clicks land.
class OtherWindow {
public:
    explicit OtherWindow(const wchar_t* caption)
        : top(::CreateWindowExW(0, L"STATIC", caption, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr))
        , child(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr))
    {
    }
    ~OtherWindow() { ::DestroyWindow(top); }
    HWND top, child;
};

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
        desktop.calls.clear();
    }
    Calls TickCalls()
    {
        desktop.calls.clear();
        Tick();
        return desktop.calls;
    }
    // Clicks land in the window's child; the window's process is at that level.
    void ClickInto(const OtherWindow& window, DWORD level)
    {
        desktop.pointed = window.child;
        desktop.levels[window.top] = level;
    }
    std::vector<std::string> NoticesText() const
    {
        std::vector<std::string> texts;
        for (const NOTIFYICONDATAW& notice : desktop.notices)
            texts.push_back(Utf8(notice.szInfo));
        return texts;
    }
};

UINT LastItemOf(HMENU menu, int fromEnd = 1)
{
    return ::GetMenuItemID(menu, ::GetMenuItemCount(menu) - fromEnd);
}

} // namespace

// Windows above the clicker's level (unreadable ones count as above) are told
// of once, by a notification of the notice icon while the panel is shown; a
// tick at the same window asks the desktop once and nothing more.
TEST_F(BlockedWindowTest, ClicksIntoAWindowAboveAreToldOfOnceAndCheckedCheaply)
{
    const struct {
        const char* name;
        DWORD level;
        bool told;
    } cases[] = {{"higher", SECURITY_MANDATORY_HIGH_RID, true}, {"same", SECURITY_MANDATORY_MEDIUM_RID, false},
                 {"lower", SECURITY_MANDATORY_LOW_RID, false}, {"unreadable", kIntegrityUnreadable, true}};
    std::list<OtherWindow> windows; // all alive, so that none takes another's handle
    for (const auto& c : cases) {
        const OtherWindow& window = windows.emplace_back(Wide(c.name).c_str());
        ClickInto(window, c.level);
        const size_t told = desktop.notices.size() + (c.told ? 1 : 0);
        const Calls calls = TickCalls();
        EXPECT_EQ(1, std::count(calls.begin(), calls.end(), LevelCall(window.top))) << c.name;
        // Unchanged: one look at the point and at the front, no query of a process.
        EXPECT_EQ((Calls{KeyCall(VK_F2), KeyCall(VK_F3), KeyCall(VK_F4), kCursorRead, DownCall(100, 200),
                         UpCall(100, 200), WindowAtCall(100, 200), kForegroundQuery}),
                  TickCalls())
            << c.name;
        EXPECT_EQ(told, desktop.notices.size()) << c.name;
    }
    EXPECT_EQ((std::vector<std::string>{Texts::BlockedNotice("higher"), Texts::BlockedNotice("unreadable")}), NoticesText());
    const NOTIFYICONDATAW& notice = desktop.notices.front();
    EXPECT_EQ(kNoticeIconId, notice.uID);
    EXPECT_EQ(static_cast<UINT>(NIF_INFO | NIF_MESSAGE | NIF_ICON | NIF_TIP), notice.uFlags);
    EXPECT_EQ(Texts::kBlockedNoticeTitle, Utf8(notice.szInfoTitle));
}

// Another window above is told of; one told of already is not, until
// clicking has stopped and started again. A window above in front is told of
// whether clicking runs or not: the keys cannot reach the clicker then.
TEST_F(BlockedWindowTest, EachWindowIsToldOfOnceUntilClickingStartsAgainAndOneInFrontAlways)
{
    const OtherWindow first(L"게임"), second(L"A caption far too long to be shown whole in the notice, so it is cut short"),
        third(L"");
    ClickInto(first, SECURITY_MANDATORY_HIGH_RID);
    Tick();
    ClickInto(second, SECURITY_MANDATORY_SYSTEM_RID);
    Tick();
    ClickInto(first, SECURITY_MANDATORY_HIGH_RID);
    Tick();
    desktop.tapped = {VK_F3};
    Tick();
    desktop.pointed = nullptr;
    desktop.foreground = third.top;
    desktop.levels[third.top] = SECURITY_MANDATORY_HIGH_RID;
    Tick();
    desktop.foreground = first.top;
    Tick();
    desktop.tapped = {VK_F2};
    Tick();
    EXPECT_EQ((std::vector<std::string>{Texts::BlockedNotice("게임"), Texts::BlockedNotice("A caption far too long to be shown whole in the notice, so …"),
                                        Texts::BlockedNotice("(제목 없음)"), Texts::BlockedNotice("게임")}),
              NoticesText());
}

// Hidden in the tray, the panel tells from its tray icon, which stays as it
// was; shown, from the notice icon, which goes with its notification.
TEST_F(BlockedWindowTest, HiddenPanelTellsFromItsTrayIconAndTheNoticeIconGoesWithItsNotification)
{
    const OtherWindow window(L"게임");
    Click(IDC_HIDE);
    ClickInto(window, SECURITY_MANDATORY_HIGH_RID);
    Tick();
    ASSERT_EQ(1u, desktop.notices.size());
    // A notification only: the tray icon's image, tip and message stay.
    EXPECT_EQ(kTrayIconId, desktop.notices[0].uID);
    EXPECT_EQ(static_cast<UINT>(NIF_INFO), desktop.notices[0].uFlags);
    EXPECT_EQ(1, desktop.iconsShown);

    ::ShowWindow(panel->GetSafeHwnd(), SW_SHOW);
    desktop.tapped = {VK_F3};
    Tick();
    desktop.tapped = {VK_F2};
    Tick();
    EXPECT_EQ(1, desktop.iconsShown) << "the notice icon";
    Send(WM_TRAYNOTIFY, kNoticeIconId, NIN_BALLOONTIMEOUT);
    EXPECT_EQ(0, desktop.iconsShown);
}

// The system menu's last item, under About, and the notification both start
// the program again as administrator. Refused, nothing changes; given, the
// handover is offered to the new copy, and this copy ends when it takes it,
// or withdraws the offer when it does not come.
TEST_F(BlockedWindowTest, RestartAsAdministratorHandsOverWhatThePanelShowsAndARefusalChangesNothing)
{
    const HMENU menu = ::GetSystemMenu(panel->GetSafeHwnd(), FALSE);
    EXPECT_EQ(static_cast<UINT>(IDM_RESTART_ELEVATED), LastItemOf(menu));
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), LastItemOf(menu, 2));
    wchar_t text[64] = L"";
    ::GetMenuStringW(menu, IDM_RESTART_ELEVATED, text, 64, MF_BYCOMMAND);
    EXPECT_EQ(Texts::kRestartElevatedItem, Utf8(text));

    const HWND window = panel->GetSafeHwnd();
    DWORD successor = 0;
    ClickerValues values = {};

    desktop.consent = false;
    Send(WM_SYSCOMMAND, IDM_RESTART_ELEVATED);
    wchar_t self[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(std::vector<std::wstring>{std::wstring(L"runas ") + self}, desktop.launched);
    EXPECT_EQ(HandoverState::None, ReadHandover(window, Wide(appName).c_str(), successor, values));
    EXPECT_EQ(Calls({KeyCall(VK_F2), KeyCall(VK_F3), KeyCall(VK_F4), kCursorRead, DownCall(100, 200), UpCall(100, 200),
                     WindowAtCall(100, 200), kForegroundQuery}),
              TickCalls())
        << "clicking goes on";
    PumpFor(0); // whatever the refusal posted
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(kMissingSetting, SavedSetting(SettingsKey::kStart));

    desktop.consent = true;
    Send(WM_TRAYNOTIFY, kTrayIconId, NIN_BALLOONUSERCLICK);
    ASSERT_EQ(HandoverState::Named, ReadHandover(window, Wide(appName).c_str(), successor, values));
    EXPECT_EQ(::GetCurrentProcessId(), successor); // what it offers is seen end to end
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

// The new copy takes the values offered only when its process is the one
// named; pending (not named yet), or named for another, it does not.
TEST(Handover, IsTakenOnlyByTheProcessNamed)
{
    const OtherWindow panel(L"panel");
    const CText name = L"vexo_unit_handover";
    ClickerValues taken = {};
    const DWORD self = ::GetCurrentProcessId();
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
    OfferHandover(panel.top, name, {0, -1, 13, 1000, 2, 0});
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
    NameSuccessor(panel.top, name, self + 4);
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
    NameSuccessor(panel.top, name, self);
    ASSERT_TRUE(IsHandedTo(panel.top, name, self, 0, taken));
    EXPECT_EQ((std::vector<int>{0, -1, 13, 1000, 2, 0}),
              (std::vector<int>{taken.start, taken.end, taken.toggle, taken.time, taken.autoOn, taken.toggleOn}));
    WithdrawHandover(panel.top, name);
    EXPECT_FALSE(IsHandedTo(panel.top, name, self, 0, taken));
}

// Elevated, nothing is above the clicker: no item, no watch, no notice.
TEST_F(PanelTest, ElevatedPanelOffersNoRestartAndWatchesNoWindow)
{
    const OtherWindow window(L"게임");
    desktop.pointed = desktop.foreground = window.top;
    desktop.levels[window.top] = SECURITY_MANDATORY_SYSTEM_RID;
    Open();
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), LastItemOf(::GetSystemMenu(panel->GetSafeHwnd(), FALSE)));
    desktop.tapped = {VK_F2};
    Tick();
    Send(WM_SYSCOMMAND, IDM_RESTART_ELEVATED);
    EXPECT_TRUE(desktop.CallsOf(DesktopCall::WindowAtPoint).empty() && desktop.CallsOf(DesktopCall::LevelQuery).empty());
    EXPECT_TRUE(desktop.notices.empty() && desktop.launched.empty());
}

// The real desktop reads the level of this process's own windows as its
// own, and that of no process as unreadable.
TEST(Win32Desktop, ReadsTheLevelOfAWindowsProcess)
{
    CWin32Desktop desktop;
    const OtherWindow window(L"mine");
    const DWORD own = desktop.GetOwnIntegrityLevel();
    EXPECT_TRUE(own >= SECURITY_MANDATORY_LOW_RID && own != kIntegrityUnreadable) << own;
    EXPECT_EQ(own, desktop.GetWindowIntegrityLevel(window.top));
    ::DestroyWindow(window.top);
    EXPECT_EQ(kIntegrityUnreadable, desktop.GetWindowIntegrityLevel(window.top));
}
