#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "settings/ClickerSettings.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// A normal start, one "as administrator", or a normal one that the user
// restarts as administrator from its system menu.
enum class Start { Normal, Administrator, Restart };

struct Journey {
    const char* name;
    bool olderFile; // an earlier start as administrator left the Windows folder's file
    std::vector<Start> starts;
};

const Journey kJourneys[] = {
    {"normal_normal", false, {Start::Normal, Start::Normal}},
    {"normal_admin_normal", false, {Start::Normal, Start::Administrator, Start::Normal}},
    {"normal_admin_older_file_normal", true, {Start::Normal, Start::Administrator, Start::Normal}},
    {"normal_restart_normal", false, {Start::Normal, Start::Restart, Start::Normal}},
    {"admin_normal", false, {Start::Administrator, Start::Normal}},
};

class E2EJourney : public ::testing::TestWithParam<Journey> {
};

// What Windows does around a start that is not elevated, and Wine does not:
// the store's copy, where there is one, is what the program reads; what it
// writes lands in the store, and the Windows folder's file stays as it was.
class Virtualized {
public:
    Virtualized(const ClickerCopy& copy, const UserFolder& user)
        : m_file(Wide(copy.SettingsPath())), m_store(Wide(user.storeCopy)), m_aside(m_file + L".aside")
    {
        m_hadFile = ::MoveFileExW(m_file.c_str(), m_aside.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        if (!::CopyFileW(m_store.c_str(), m_file.c_str(), FALSE) && m_hadFile)
            ::CopyFileW(m_aside.c_str(), m_file.c_str(), FALSE);
    }
    ~Virtualized()
    {
        ::MoveFileExW(m_file.c_str(), m_store.c_str(), MOVEFILE_REPLACE_EXISTING);
        if (m_hadFile)
            ::MoveFileExW(m_aside.c_str(), m_file.c_str(), MOVEFILE_REPLACE_EXISTING);
    }

private:
    std::wstring m_file, m_store, m_aside;
    bool m_hadFile = false;
};

// The start and toggle keys a panel shows, which each step changes.
std::vector<int> Keys(const ClickerProcess& program)
{
    return {ComboSelection(program.Control(IDC_START_KEY)), ComboSelection(program.Control(IDC_TOGGLE_KEY))};
}

} // namespace

// However the program is started, its panel shows the keys chosen last, in
// whichever kind of start they were chosen, and no settings file ever holds
// keys that nobody chose. Every step changes the keys; the journey ends with
// a normal start and one as administrator that both show the last choice.
// Under Wine a start with the linked token stands for a normal one, and so
// does the restart's new copy, which Wine starts with its parent's token.
TEST_P(E2EJourney, EveryStartShowsTheKeysChosenLastAndNoFileHoldsOthers)
{
    if (!::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "Windows virtualizes the file itself, and asks consent for the restart";
    const Journey& journey = GetParam();
    // Short names: the store's path holds the name twice, and a path too
    // long for the settings functions is never used.
    ClickerCopy copy(std::string("vexo_journey_") + journey.name,
                     journey.olderFile ? SETTINGS_SECTION "start=9\r\ntoggle=10\r\n" : nullptr, true);
    const UserFolder user(copy.Name());
    std::set<int> chosen = {9, 10};
    std::vector<int> last = journey.olderFile ? std::vector<int>{9, 10} : std::vector<int>{1, 3};
    std::vector<Start> starts = journey.starts;
    starts.insert(starts.end(), {Start::Normal, Start::Administrator});
    for (size_t step = 0; step < starts.size(); ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const bool normal = starts[step] != Start::Administrator;
        std::unique_ptr<Virtualized> virtualized(normal ? new Virtualized(copy, user) : nullptr);
        ClickerProcess first(copy, normal ? ClickerProcess::Token::Linked : ClickerProcess::Token::Own);
        ASSERT_TRUE(first.WaitForPanel());
        EXPECT_EQ(last, Keys(first));
        std::unique_ptr<ClickerProcess> successor;
        if (starts[step] == Start::Restart) {
            // The radius and turns, which no file keeps, show the values were handed over.
            Ask(first.Control(IDC_RADIUS_SPIN), UDM_SETPOS32, 0, 3);
            Ask(first.Control(IDC_TURNS_SPIN), UDM_SETPOS32, 0, 5);
            ChooseLastSystemMenuItem(first);
            ASSERT_TRUE(first.WaitForExit());
            HWND panel = nullptr;
            ASSERT_TRUE(WaitUntil([&] {
                return (panel = FindTopLevel(kAnyProcess, [&](HWND w) { return ::GetPropW(w, Wide(copy.Name()).c_str()); }));
            })) << "no new copy";
            DWORD successorId = 0;
            ::GetWindowThreadProcessId(panel, &successorId);
            successor.reset(new ClickerProcess(copy, successorId));
            ASSERT_TRUE(successor->WaitForPanel());
            EXPECT_EQ(last, Keys(*successor));
            EXPECT_EQ("3 5", TextOf(successor->Control(IDC_RADIUS)) + " " + TextOf(successor->Control(IDC_TURNS)));
        }
        ClickerProcess& program = successor ? *successor : first;
        if (step < journey.starts.size()) {
            const int key = 2 * static_cast<int>(step) + 2;
            Ask(program.Control(IDC_START_KEY), CB_SETCURSEL, static_cast<WPARAM>(key));
            Ask(program.Control(IDC_TOGGLE_KEY), CB_SETCURSEL, static_cast<WPARAM>(key + 1));
            last = {key, key + 1};
            chosen.insert(last.begin(), last.end());
        }
        ASSERT_TRUE(program.Close());
        virtualized.reset();
        for (const std::string& file : {copy.SettingsPath(), user.storeCopy})
            for (const wchar_t* setting : {SettingsKey::kStart, SettingsKey::kToggle}) {
                const int saved = ReadSavedSetting(file, setting);
                EXPECT_TRUE(saved == kMissingSetting || chosen.count(saved)) << file << " holds " << saved;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(E2E, E2EJourney, ::testing::ValuesIn(kJourneys),
                         [](const ::testing::TestParamInfo<Journey>& info) { return std::string(info.param.name); });
