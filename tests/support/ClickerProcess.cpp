#include "support/ClickerProcess.h"

#include "resources/resource.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

namespace {

// What the tray icon sends the panel; lParam is the mouse message over the icon.
constexpr UINT kTrayNotify = WM_USER + 1;

bool MenuShown(const ClickerProcess& program)
{
    return FindTopLevel(program.Id(),
                        [](HWND window) { return ClassOf(window) == "#32768" && ::IsWindowVisible(window); });
}

// What a program that keeps a test waiting may be showing instead: its
// visible dialogs other than the panel, which carries the program's name.
std::string BoxesOf(DWORD processId, const std::string& name)
{
    std::string boxes;
    FindTopLevel(processId, [&](HWND window) {
        if (ClassOf(window) == "#32770" && ::IsWindowVisible(window) && !::GetPropW(window, Wide(name).c_str()))
            boxes += "; it shows \"" + TextOf(window) + "\": " + TextOf(::GetDlgItem(window, 0xFFFF));
        return false;
    });
    return boxes;
}

// The primary token of the test's linked token: under Wine, one whose
// elevation type is limited, as a program gets from an administrator with
// User Account Control on.
HANDLE LinkedPrimaryToken()
{
    HANDLE own = nullptr, primary = nullptr;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &own) &&
        ::GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size)) {
        ::DuplicateTokenEx(linked.LinkedToken, MAXIMUM_ALLOWED, nullptr, SecurityImpersonation, TokenPrimary, &primary);
        ::CloseHandle(linked.LinkedToken);
    }
    if (own)
        ::CloseHandle(own);
    return primary;
}

} // namespace

ClickerProcess::ClickerProcess(const ClickerCopy& copy, Token token)
    : m_name(copy.Name())
    , m_info()
    , m_panel(nullptr)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    const std::wstring path = Wide(copy.ExePath());
    const std::wstring folder = Wide(copy.Folder());
    std::wstring commandLine = path;
    const HANDLE linked = token == Token::Linked ? LinkedPrimaryToken() : nullptr;
    if (token == Token::Linked && !linked)
        ADD_FAILURE() << "no linked token, error " << ::GetLastError();
    const BOOL started = linked ? ::CreateProcessAsUserW(linked, path.c_str(), &commandLine[0], nullptr, nullptr,
                                                         FALSE, 0, nullptr, folder.c_str(), &startup, &m_info)
                                : ::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                                   folder.c_str(), &startup, &m_info);
    if (!started)
        ADD_FAILURE() << "cannot start " << copy.ExePath() << ", error " << ::GetLastError();
    if (linked)
        ::CloseHandle(linked);
}

ClickerProcess::ClickerProcess(const ClickerCopy& copy, DWORD processId)
    : m_name(copy.Name())
    , m_info()
    , m_panel(nullptr)
{
    m_info.dwProcessId = processId;
    m_info.hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    if (!m_info.hProcess)
        ADD_FAILURE() << "cannot open process " << processId << ", error " << ::GetLastError();
}

ClickerProcess::~ClickerProcess()
{
    if (!m_info.hProcess)
        return;
    if (IsRunning()) {
        ADD_FAILURE() << m_name << " was still running at the end of the test and is ended";
        ::TerminateProcess(m_info.hProcess, 1);
        WaitUntil([this] { return !IsRunning(); });
    }
    if (m_info.hThread)
        ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
}

bool ClickerProcess::IsRunning() const
{
    return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ClickerProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

HWND ClickerProcess::WaitForPanel()
{
    HWND panel = nullptr;
    const std::wstring property = Wide(m_name);
    WaitUntil([&] {
        panel = FindTopLevel(Id(), [&](HWND window) { return ::GetPropW(window, property.c_str()) != nullptr; });
        return panel || !IsRunning();
    });
    if (!panel) {
        ADD_FAILURE() << "no panel from " << m_name << (IsRunning() ? " (timeout)" : " (it ended)") << BoxesOf(Id(), m_name);
        return nullptr;
    }
    // The property comes during initialisation; the dialog loop shows the
    // panel again (restoring it) when its queue first runs empty. Tests that
    // hide or minimise it must act later: the process turns idle there, and
    // the next message it serves is ours.
    if (::WaitForInputIdle(m_info.hProcess, kWaitMs) != 0)
        ADD_FAILURE() << m_name << " never waited for input";
    Ask(panel, WM_NULL);
    return m_panel = panel;
}

HWND ClickerProcess::WaitForDialog(const std::string& caption) const
{
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindDialog(Id(), caption)) != nullptr; }))
        ADD_FAILURE() << "no dialog captioned \"" << caption << "\" from " << m_name << BoxesOf(Id(), m_name);
    return dialog;
}

bool ClickerProcess::WaitForExit()
{
    if (WaitUntil([this] { return !IsRunning(); }))
        return true;
    ADD_FAILURE() << m_name << " did not end" << BoxesOf(Id(), m_name);
    return false;
}

bool ClickerProcess::Close()
{
    PostClick(m_panel, IDCANCEL);
    return WaitForExit();
}

void ExpectSecondCopyReportsAndEnds(ClickerProcess& second)
{
    for (const char* text : Texts::kSecondCopyMessages) {
        const HWND box = second.WaitForMessageBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(text, MessageBoxText(box));
        EXPECT_EQ(nullptr, ::GetWindow(box, GW_OWNER));
        DismissMessageBox(box);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    }
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(0u, second.ExitCode());
}

void HideToTray(const ClickerProcess& program)
{
    PostClick(program.Panel(), IDC_HIDE);
    EXPECT_TRUE(WaitUntil([&] {
        const HWND active = ::GetForegroundWindow();
        return !::IsWindowVisible(program.Panel()) && active && active != program.Panel();
    })) << "the panel did not hide";
}

namespace {

// Opens a menu of the panel with the message given and chooses with the
// keys, which the menu takes from its owner thread's queue.
void ChooseFromMenu(const ClickerProcess& program, UINT message, WPARAM wParam, LPARAM lParam,
                    const std::vector<UINT>& keys)
{
    ::PostMessageW(program.Panel(), message, wParam, lParam);
    if (!WaitUntil([&] { return MenuShown(program); })) {
        ADD_FAILURE() << "no menu";
        return;
    }
    // Only so does the menu close when the user clicks elsewhere.
    EXPECT_EQ(program.Panel(), ::GetForegroundWindow());
    for (const UINT key : keys)
        PostKey(program.Panel(), key);
    EXPECT_TRUE(WaitUntil([&] { return !MenuShown(program); }));
}

} // namespace

void ChooseFromTrayMenu(const ClickerProcess& program, int item)
{
    std::vector<UINT> keys(static_cast<size_t>(item), VK_DOWN);
    keys.push_back(VK_RETURN);
    ChooseFromMenu(program, kTrayNotify, 0, WM_RBUTTONUP, keys);
}

void ChooseLastSystemMenuItem(const ClickerProcess& program)
{
    // From the first item, which the keyboard opens it on, round to the last.
    ChooseFromMenu(program, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE, {VK_UP, VK_RETURN});
}

std::vector<int> ShownValues(const ClickerProcess& program)
{
    return {ComboSelection(program.Control(IDC_START_KEY)), ComboSelection(program.Control(IDC_END_KEY)),
            ComboSelection(program.Control(IDC_TOGGLE_KEY)), ScrollPosition(program.Control(IDC_SPEED)),
            CheckState(program.Control(IDC_AUTO_ON)), CheckState(program.Control(IDC_TOGGLE_ON))};
}

void MoveSpeedBarTo(const ClickerProcess& program, int position)
{
    Ask(program.Panel(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
        reinterpret_cast<LPARAM>(program.Control(IDC_SPEED)));
}
