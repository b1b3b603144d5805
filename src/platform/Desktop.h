#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "common/Text.h"

// The record of SetProcessInformation's power-throttling class, declared
// here because the headers show it only to programs built for Windows 8 and
// later, and this one starts on Windows 7.
struct PowerThrottlingState {
    ULONG version;
    ULONG controlMask; // the policies the process takes charge of
    ULONG stateMask;   // of those, the ones switched on
};
constexpr ULONG kPowerThrottlingCurrentVersion = 1;
constexpr ULONG kPowerThrottlingIgnoreTimerResolution = 0x4;

// MessageBeep's simple beep, rather than the sound of a message box type.
constexpr UINT kSimpleBeep = 0xFFFFFFFF;

// A process's integrity level is the last part of its token's mandatory
// label (SECURITY_MANDATORY_MEDIUM_RID ...). A level Windows refuses to read
// is reported as this, above every real one: a program at medium level is
// refused the tokens of the processes above it, and of other accounts'.
constexpr DWORD kIntegrityUnreadable = 0xFFFFFFFF;

// The program behind a top-level window, as far as this process may read it.
struct WindowProgram {
    DWORD processId = 0; // 0: the window is gone
    DWORD level = kIntegrityUnreadable;
    // Windows' stand-in for a window that stopped responding: a window of
    // class "Ghost", hosted by the desktop window manager, not the program.
    bool ghost = false;
    CText image; // the program's full path; empty where it cannot be read
};

// The desktop operations the clicker drives: screen size, cursor, injected
// left-button events, asynchronous key state, the beep, the tray icon, the
// timer resolution, the process's power throttling, the windows under the
// cursor and in front with the integrity levels of their processes,
// starting the program again as administrator, message boxes, and what one
// copy of the program asks of another: the mutex, the running panel, the
// foreground and the wait for its end.
// Named after the Win32 calls they stand for, so the clicker's logic reads
// like the platform; tests hand in a recorder instead of the real desktop.
class IDesktop {
public:
    virtual ~IDesktop() = default;

    virtual int GetSystemMetrics(int index) = 0;
    virtual BOOL GetCursorPos(POINT* point) = 0;
    virtual BOOL SetCursorPos(int x, int y) = 0;
    // flags: MOUSEEVENTF_LEFTDOWN or MOUSEEVENTF_LEFTUP; x and y are passed
    // through but do not move the cursor (no move flag).
    virtual void MouseEvent(DWORD flags, DWORD x, DWORD y, DWORD data, ULONG_PTR extraInfo) = 0;
    // Low 16 bits non-zero: down now, or pressed since the previous query.
    virtual SHORT GetAsyncKeyState(int virtualKey) = 0;
    virtual BOOL MessageBeep(UINT type) = 0; // kSimpleBeep, or an MB_ICON sound
    virtual BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) = 0;
    // The scale of the notification area's screen, in dots per inch.
    virtual UINT GetNotificationAreaDpi() = 0;
    // Window timers fire on the system clock's tick, 15.625 ms unless some
    // process asks for a finer one; each begin needs its matching end.
    virtual MMRESULT TimeBeginPeriod(UINT milliseconds) = 0;
    virtual MMRESULT TimeEndPeriod(UINT milliseconds) = 0;
    // SetProcessInformation(ProcessPowerThrottling) for this process; FALSE
    // where Windows lacks the function (before 8) or refuses the record.
    virtual BOOL SetProcessPowerThrottling(const PowerThrottlingState& state) = 0;
    // Windows passes no injected input to a window, and no key state while it
    // is in front, whose process runs at a higher integrity level.
    virtual HWND WindowFromPoint(POINT point) = 0;
    virtual HWND GetForegroundWindow() = 0;
    // The process that owns the window, its integrity level
    // (kIntegrityUnreadable where the process or its token cannot be opened)
    // and its image's path.
    virtual WindowProgram GetWindowProgram(HWND window) = 0;
    virtual DWORD GetOwnIntegrityLevel() = 0;
    // TRUE when this process runs with administrator rights (TokenElevation).
    virtual BOOL IsProcessElevated() = 0;
    // Starts a program; with the verb "runas" Windows asks the user's consent
    // first, and FALSE with ERROR_CANCELLED means it was refused.
    virtual BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) = 0;
    // CreateMutexW owned from the start; GetLastError says whether the name
    // was taken (ERROR_ALREADY_EXISTS), or taken by a copy whose rights
    // keep this one out (ERROR_ACCESS_DENIED, with no handle).
    virtual HANDLE CreateMutexW(const wchar_t* name) = 0;
    // Lets one message reach the window from processes at lower integrity
    // levels, which Windows filters out of an elevated program's windows.
    virtual BOOL ChangeWindowMessageFilterEx(HWND window, UINT message, DWORD action) = 0;
    virtual BOOL SetForegroundWindow(HWND window) = 0;
    virtual int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) = 0;

    // The first top-level window that carries the property (EnumWindows), or null.
    virtual HWND FindWindowWithProp(const wchar_t* property) = 0;
    // The process that owns the window; 0 where it is gone.
    virtual DWORD GetWindowThreadProcessId(HWND window) = 0;
    virtual BOOL AllowSetForegroundWindow(DWORD processId) = 0;
    virtual BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Waits for the process to end: WAIT_OBJECT_0 once it has (or where no
    // such process is left), WAIT_TIMEOUT, or WAIT_FAILED where Windows
    // refuses to open it, as it refuses another account's.
    virtual DWORD WaitForProcess(DWORD processId, DWORD milliseconds) = 0;
    // FALSE when the window is still there after that time.
    virtual BOOL WaitForWindowGone(HWND window, DWORD milliseconds) = 0;
    // TRUE when the process runs as this process's user account; FALSE when
    // it runs as another, or its account cannot be read.
    virtual BOOL IsProcessOfThisUser(DWORD processId) = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
};

// The real desktop of the interactive session.
class CWin32Desktop : public IDesktop {
public:
    int GetSystemMetrics(int index) override;
    BOOL GetCursorPos(POINT* point) override;
    BOOL SetCursorPos(int x, int y) override;
    void MouseEvent(DWORD flags, DWORD x, DWORD y, DWORD data, ULONG_PTR extraInfo) override;
    SHORT GetAsyncKeyState(int virtualKey) override;
    BOOL MessageBeep(UINT type) override;
    BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) override;
    UINT GetNotificationAreaDpi() override;
    MMRESULT TimeBeginPeriod(UINT milliseconds) override;
    MMRESULT TimeEndPeriod(UINT milliseconds) override;
    BOOL SetProcessPowerThrottling(const PowerThrottlingState& state) override;
    HWND WindowFromPoint(POINT point) override;
    HWND GetForegroundWindow() override;
    WindowProgram GetWindowProgram(HWND window) override;
    DWORD GetOwnIntegrityLevel() override;
    BOOL IsProcessElevated() override;
    BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) override;
    HANDLE CreateMutexW(const wchar_t* name) override;
    BOOL ChangeWindowMessageFilterEx(HWND window, UINT message, DWORD action) override;
    BOOL SetForegroundWindow(HWND window) override;
    int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) override;
    HWND FindWindowWithProp(const wchar_t* property) override;
    DWORD GetWindowThreadProcessId(HWND window) override;
    BOOL AllowSetForegroundWindow(DWORD processId) override;
    BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    DWORD WaitForProcess(DWORD processId, DWORD milliseconds) override;
    BOOL WaitForWindowGone(HWND window, DWORD milliseconds) override;
    BOOL IsProcessOfThisUser(DWORD processId) override;
    void Sleep(DWORD milliseconds) override;
};

// Keeps the process's timer resolution requests in force while all its
// windows are hidden, which Windows 11 would otherwise ignore. Once, at
// start-up; false, and nothing else changes, where Windows cannot do it.
inline bool KeepTimerResolutionWhileHidden(IDesktop& desktop)
{
    // The control mask takes charge of the policy; its clear state bit says
    // "do not ignore the requests".
    const PowerThrottlingState state = {kPowerThrottlingCurrentVersion, kPowerThrottlingIgnoreTimerResolution, 0};
    return desktop.SetProcessPowerThrottling(state) != FALSE;
}
