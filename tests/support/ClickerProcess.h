#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/ClickerCopy.h"

// One run of a copy of the program, started on construction. Whatever the
// test's outcome, the process does not outlive this object: a program that
// is still running at the end is ended.
class ClickerProcess {
public:
    explicit ClickerProcess(const ClickerCopy& copy);
    ~ClickerProcess();
    ClickerProcess(const ClickerProcess&) = delete;
    ClickerProcess& operator=(const ClickerProcess&) = delete;

    DWORD Id() const { return m_info.dwProcessId; }
    bool IsRunning() const;

    // The panel: the process's top-level window carrying the property named
    // after the program. Fails the test and gives nullptr on timeout.
    HWND WaitForPanel();
    HWND Panel() const { return m_panel; }
    HWND Control(int id) const { return ::GetDlgItem(m_panel, id); }
    // Selected indices of the start, end and toggle lists.
    std::vector<int> KeySelections() const;

    // A dialog of this process (message box, About box) by its caption.
    HWND WaitForDialog(const std::string& caption) const;
    // The process's message box, captioned with the program's name.
    HWND WaitForMessageBox() const { return WaitForDialog(m_name); }

    // Fails the test on timeout; the exit code is kept for ExitCode().
    bool WaitForExit();
    DWORD ExitCode() const;

private:
    std::string m_name;
    PROCESS_INFORMATION m_info;
    HWND m_panel;
};

// Class of dialogs and message boxes.
extern const char kDialogClass[];

// A copy with its settings file prepared (none when the text is null) and
// its process, for tests that run several side by side.
struct ClickerRun {
    ClickerRun(const std::string& suffix, const char* settingsText);
    ClickerCopy copy;
    ClickerProcess process;
};
