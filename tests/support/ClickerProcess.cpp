#include "support/ClickerProcess.h"

#include "resources/resource.h"
#include "support/RemoteWindow.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <vector>

const char kDialogClass[] = "#32770";

namespace {

struct PanelQuery {
    DWORD processId;
    const char* property;
    HWND found;
};

BOOL CALLBACK MatchPanel(HWND window, LPARAM parameter)
{
    PanelQuery& query = *reinterpret_cast<PanelQuery*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != query.processId || !::GetPropA(window, query.property))
        return TRUE;
    query.found = window;
    return FALSE;
}

const ClickerCopy& Prepared(const ClickerCopy& copy, const char* settingsText)
{
    if (settingsText)
        copy.WriteSettingsText(settingsText);
    return copy;
}

} // namespace

ClickerRun::ClickerRun(const std::string& suffix, const char* settingsText)
    : copy(suffix)
    , process(Prepared(copy, settingsText))
{
}

ClickerProcess::ClickerProcess(const ClickerCopy& copy)
    : m_name(copy.Name())
    , m_info()
    , m_panel(nullptr)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> commandLine(copy.ExePath().begin(), copy.ExePath().end());
    commandLine.push_back('\0');
    if (!::CreateProcessA(copy.ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &m_info))
        ADD_FAILURE() << "cannot start " << copy.ExePath() << ", error " << ::GetLastError();
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
    ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
}

bool ClickerProcess::IsRunning() const
{
    return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ClickerProcess::WaitForPanel()
{
    PanelQuery query = {Id(), m_name.c_str(), nullptr};
    const bool found = WaitUntil([&] {
        ::EnumWindows(MatchPanel, reinterpret_cast<LPARAM>(&query));
        return query.found != nullptr || !IsRunning();
    });
    if (!found || !query.found) {
        ADD_FAILURE() << "no panel from " << m_name << (IsRunning() ? " (timeout)" : " (it ended)");
        return nullptr;
    }
    // The property is set during the panel's initialisation; the dialog
    // loop shows the panel again (restoring it) when its queue first runs
    // empty. A test that hides or minimises the panel must come after that:
    // the process turns idle there, and the next message it serves is ours.
    if (::WaitForInputIdle(m_info.hProcess, kWaitMs) != 0)
        ADD_FAILURE() << m_name << " never waited for input";
    Ask(query.found, WM_NULL);
    m_panel = query.found;
    return m_panel;
}

HWND ClickerProcess::WaitForDialog(const std::string& caption) const
{
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindTopLevel(Id(), kDialogClass, caption)) != nullptr; }))
        ADD_FAILURE() << "no dialog captioned \"" << caption << "\" from " << m_name;
    return dialog;
}

bool ClickerProcess::WaitForExit()
{
    if (WaitUntil([this] { return !IsRunning(); }))
        return true;
    ADD_FAILURE() << m_name << " did not end";
    return false;
}

DWORD ClickerProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

std::vector<int> ClickerProcess::KeySelections() const
{
    return {ComboSelection(Control(IDC_START_KEY)), ComboSelection(Control(IDC_END_KEY)),
            ComboSelection(Control(IDC_TOGGLE_KEY))};
}
