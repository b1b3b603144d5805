#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/ClickerCopy.h"
#include "support/Texts.h"

// One run of a copy of the program, started on construction with its own
// folder as the current one, as Explorer starts a program. It does not
// outlive this object: a program still running at the end fails the test
// and is ended.
class ClickerProcess {
public:
    // As the user starts it, or with the token's linked one: a program an
    // administrator starts while User Account Control holds back the rights.
    enum class Token { Own, Linked };
    explicit ClickerProcess(const ClickerCopy& copy, Token token = Token::Own);
    // A copy's process that something else started.
    ClickerProcess(const ClickerCopy& copy, DWORD processId);
    ~ClickerProcess();
    ClickerProcess(const ClickerProcess&) = delete;
    ClickerProcess& operator=(const ClickerProcess&) = delete;

    DWORD Id() const { return m_info.dwProcessId; }
    bool IsRunning() const;
    DWORD ExitCode() const;

    // The process's top-level window carrying the property named after the
    // program, once ready for use. Fails the test (nullptr) on timeout.
    HWND WaitForPanel();
    HWND Panel() const { return m_panel; }
    HWND Control(int id) const { return ::GetDlgItem(m_panel, id); }

    // A dialog of the process by caption; message boxes bear the program's name.
    HWND WaitForDialog(const std::string& caption) const;
    HWND WaitForMessageBox() const { return WaitForDialog(m_name); }

    bool WaitForExit();
    // The exit button, then the end of the process.
    bool Close();

private:
    std::string m_name;
    PROCESS_INFORMATION m_info;
    HWND m_panel;
};

// Settings with the fastest period, so that every flow takes a fraction of a second.
constexpr char kFastSettings[] = SETTINGS_SECTION "time=10\r\n";

// A copy with its settings file prepared (none when the text is null) and
// its process, for tests that run several side by side.
struct ClickerRun {
    ClickerRun(const std::string& suffix, const char* settingsText)
        : copy(suffix, settingsText)
        , process(copy)
    {
    }
    ClickerCopy copy;
    ClickerProcess process;
};

// A second copy started while the first runs: its two message boxes, in
// order and owned by no window, each read and dismissed; then its end.
void ExpectSecondCopyReportsAndEnds(ClickerProcess& second);

// Hides the panel to the tray, and waits for the activation to move on too:
// the tray menu would close at once if another window took it over while it
// opened.
void HideToTray(const ClickerProcess& program);
// Right click on the tray icon, then the item chosen (1 "보기", 2 "종료")
// with the arrow keys, which the menu takes from its owner thread's queue.
void ChooseFromTrayMenu(const ClickerProcess& program, int item);
// The last item of the panel's system menu, opened as Alt+Space opens it and
// chosen with the arrow keys.
void ChooseLastSystemMenuItem(const ClickerProcess& program);

// The six values the panel shows, in the order of saving: the three lists'
// selections, the speed bar's position and the two boxes' states.
std::vector<int> ShownValues(const ClickerProcess& program);

// Moves the panel's speed bar as dragging its thumb there would.
void MoveSpeedBarTo(const ClickerProcess& program, int position);
