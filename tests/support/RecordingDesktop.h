#pragma once
#include "platform/Desktop.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

// One call the panel made on the desktop: its kind and up to three
// arguments that matter, in the order its maker below takes them; the
// others stay zero.
struct DesktopCall {
    enum Kind {
        Metrics, CursorRead, CursorMove, Button, KeyQuery, Beep, TrayIcon, TimerResolution, PowerThrottling,
        WindowAtPoint, ForegroundWindow, LevelQuery, MessageFilter, ForegroundSet, ForegroundAllow, MessagePost,
        ProcessWait, WindowWait, MutexCreate, Pause
    };
    DesktopCall(Kind kind, LONG_PTR x = 0, LONG_PTR y = 0, LONG_PTR z = 0) : kind(kind), x(x), y(y), z(z) {}
    bool operator==(const DesktopCall& o) const { return kind == o.kind && x == o.x && y == o.y && z == o.z; }
    Kind kind;
    LONG_PTR x, y, z;
};
inline std::ostream& operator<<(std::ostream& out, const DesktopCall& call)
{
    return out << "{kind " << call.kind << ": " << call.x << ", " << call.y << ", " << call.z << "}";
}
// A window as an argument.
inline LONG_PTR Handle(HWND window) { return reinterpret_cast<LONG_PTR>(window); }
inline DesktopCall MetricsCall(int index) { return DesktopCall(DesktopCall::Metrics, index); }
inline DesktopCall MoveCall(LONG x, LONG y) { return DesktopCall(DesktopCall::CursorMove, x, y); }
inline DesktopCall DownCall(LONG x, LONG y) { return DesktopCall(DesktopCall::Button, x, y, MOUSEEVENTF_LEFTDOWN); }
inline DesktopCall UpCall(LONG x, LONG y) { return DesktopCall(DesktopCall::Button, x, y, MOUSEEVENTF_LEFTUP); }
inline DesktopCall KeyCall(int virtualKey) { return DesktopCall(DesktopCall::KeyQuery, virtualKey); }
inline DesktopCall TrayCall(DWORD message) { return DesktopCall(DesktopCall::TrayIcon, message); }
// The finer resolution asked for (begin) or given back.
inline DesktopCall PeriodCall(bool begin, UINT milliseconds) { return DesktopCall(DesktopCall::TimerResolution, begin, milliseconds); }
inline DesktopCall BeginPeriodCall(UINT milliseconds) { return PeriodCall(true, milliseconds); }
inline DesktopCall EndPeriodCall(UINT milliseconds) { return PeriodCall(false, milliseconds); }
// The record handed to Windows.
inline DesktopCall ThrottlingCall(ULONG version, ULONG controlMask, ULONG stateMask)
{
    return DesktopCall(DesktopCall::PowerThrottling, version, controlMask, stateMask);
}
inline DesktopCall WindowAtCall(LONG x, LONG y) { return DesktopCall(DesktopCall::WindowAtPoint, x, y); }
inline DesktopCall LevelCall(HWND window) { return DesktopCall(DesktopCall::LevelQuery, Handle(window)); }
inline DesktopCall FilterCall(HWND window, UINT message, DWORD action)
{
    return DesktopCall(DesktopCall::MessageFilter, Handle(window), message, action);
}
inline DesktopCall ForegroundSetCall(HWND window) { return DesktopCall(DesktopCall::ForegroundSet, Handle(window)); }
inline DesktopCall AllowCall(DWORD processId) { return DesktopCall(DesktopCall::ForegroundAllow, processId); }
inline DesktopCall PostCall(HWND window, UINT message) { return DesktopCall(DesktopCall::MessagePost, Handle(window), message); }
inline DesktopCall ProcessWaitCall(DWORD processId) { return DesktopCall(DesktopCall::ProcessWait, processId); }
inline DesktopCall WindowWaitCall(HWND window) { return DesktopCall(DesktopCall::WindowWait, Handle(window)); }
const DesktopCall kMutexCreate = {DesktopCall::MutexCreate};
const DesktopCall kForegroundQuery = {DesktopCall::ForegroundWindow};
const DesktopCall kBeep(DesktopCall::Beep, kSimpleBeep);
const DesktopCall kCursorRead = {DesktopCall::CursorRead};

// A sequence of calls, as tests compare them whole.
using Calls = std::vector<DesktopCall>;

// The left presses among the calls, in their order.
inline Calls Presses(const Calls& calls)
{
    Calls presses;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(presses),
                 [](const DesktopCall& call) { return call == DownCall(call.x, call.y); });
    return presses;
}

// A top-level window as a test's stand-in for another program's, or for
// the panel, with a child where clicks land; gone with the object.
class OtherWindow {
public:
    explicit OtherWindow(const wchar_t* caption = L"")
        : top(::CreateWindowExW(0, L"STATIC", caption, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr))
        , child(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr))
    {
    }
    ~OtherWindow() { ::DestroyWindow(top); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;
    HWND top, child;
};

// A desktop that records every call. Keys can be held or tapped once; like
// the real one, a left press the program injects reads as a press of the
// left button at the next query. Windows have the clicker's own integrity
// level unless given another, and the clicker runs elevated, as every
// program does under Wine, unless a test says otherwise.
class CRecordingDesktop : public IDesktop {
public:
    int GetSystemMetrics(int index) override
    {
        calls.push_back(MetricsCall(index));
        return index == SM_CXSCREEN ? screen.x : index == SM_CYSCREEN ? screen.y : 32;
    }
    BOOL GetCursorPos(POINT* point) override { return calls.push_back(kCursorRead), *point = cursor, TRUE; }
    BOOL SetCursorPos(int x, int y) override { return calls.push_back(MoveCall(x, y)), cursor = {x, y}, TRUE; }
    void MouseEvent(DWORD flags, DWORD x, DWORD y, DWORD, ULONG_PTR) override
    {
        calls.push_back(DesktopCall(DesktopCall::Button, static_cast<LONG>(x), static_cast<LONG>(y), flags));
        if (flags & MOUSEEVENTF_LEFTDOWN)
            tapped.insert(VK_LBUTTON);
    }
    SHORT GetAsyncKeyState(int virtualKey) override
    {
        calls.push_back(KeyCall(virtualKey));
        return static_cast<SHORT>((held.count(virtualKey) ? 0x8000 : 0) | (tapped.erase(virtualKey) ? 1 : 0));
    }
    BOOL MessageBeep(UINT type) override { return calls.push_back(DesktopCall(DesktopCall::Beep, type)), TRUE; }
    BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) override
    {
        calls.push_back(TrayCall(message));
        iconsShown += message == NIM_ADD ? 1 : message == NIM_DELETE ? -1 : 0;
        if (data->uFlags & NIF_INFO)
            notices.push_back(*data);
        else if (message == NIM_ADD || message == NIM_MODIFY)
            lastIcon = *data;
        return TRUE;
    }
    UINT GetNotificationAreaDpi() override { return notificationAreaDpi; }
    MMRESULT TimeBeginPeriod(UINT ms) override { return calls.push_back(BeginPeriodCall(ms)), TIMERR_NOERROR; }
    MMRESULT TimeEndPeriod(UINT ms) override { return calls.push_back(EndPeriodCall(ms)), TIMERR_NOERROR; }
    BOOL SetProcessPowerThrottling(const PowerThrottlingState& state) override
    {
        calls.push_back(ThrottlingCall(state.version, state.controlMask, state.stateMask));
        return hasPowerThrottling;
    }
    HWND WindowFromPoint(POINT point) override { return calls.push_back(WindowAtCall(point.x, point.y)), pointed; }
    HWND GetForegroundWindow() override { return calls.push_back(kForegroundQuery), foreground; }
    // Each window is a program of its own at the clicker's level, unless
    // given another.
    WindowProgram GetWindowProgram(HWND window) override
    {
        calls.push_back(LevelCall(window));
        const auto found = programs.find(window);
        return found != programs.end() ? found->second : ProgramOf(window, ownLevel);
    }
    static WindowProgram ProgramOf(HWND window, DWORD level, const wchar_t* image = L"")
    {
        return {static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window)), level, false, image};
    }
    DWORD GetOwnIntegrityLevel() override { return ownLevel; }
    BOOL IsProcessElevated() override { return elevated; }
    // Consent given: the "new copy" is this very process.
    BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) override
    {
        launched.push_back(std::wstring(info->lpVerb) + L" " + info->lpFile);
        ownerShown.push_back(info->hwnd && ::IsWindowVisible(info->hwnd) && !::IsIconic(info->hwnd));
        if (!consent)
            return ::SetLastError(refusal), FALSE;
        info->hProcess = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ::GetCurrentProcessId());
        return TRUE;
    }
    // Each creation answers with the next error given, the last one for
    // good; refused, no handle; taken, a handle all the same, as Windows gives.
    HANDLE CreateMutexW(const wchar_t*) override
    {
        calls.push_back(kMutexCreate);
        const DWORD error = mutexErrors.front();
        if (mutexErrors.size() > 1)
            mutexErrors.erase(mutexErrors.begin());
        const HANDLE handle = error == ERROR_ACCESS_DENIED ? nullptr : ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        ::SetLastError(error);
        return handle;
    }
    BOOL ChangeWindowMessageFilterEx(HWND window, UINT message, DWORD action) override
    {
        return calls.push_back(FilterCall(window, message, action)), TRUE;
    }
    BOOL SetForegroundWindow(HWND window) override { return calls.push_back(ForegroundSetCall(window)), TRUE; }
    int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) override
    {
        boxes.push_back({owner, text, caption, type});
        return IDOK;
    }
    HWND FindWindowWithProp(const wchar_t*) override { return runningPanel; }
    DWORD GetWindowThreadProcessId(HWND window) override
    {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        return processId;
    }
    BOOL AllowSetForegroundWindow(DWORD processId) override { return calls.push_back(AllowCall(processId)), TRUE; }
    BOOL PostMessageW(HWND window, UINT message, WPARAM, LPARAM) override
    {
        return calls.push_back(PostCall(window, message)), TRUE;
    }
    DWORD WaitForProcess(DWORD processId, DWORD) override { return calls.push_back(ProcessWaitCall(processId)), processWait; }
    BOOL WaitForWindowGone(HWND window, DWORD) override { return calls.push_back(WindowWaitCall(window)), TRUE; }
    BOOL IsProcessOfThisUser(DWORD) override { return sameUser; }
    void Sleep(DWORD) override { calls.push_back({DesktopCall::Pause}); }
    Calls CallsOf(DesktopCall::Kind kind) const
    {
        Calls result;
        for (const DesktopCall& call : calls)
            if (call.kind == kind)
                result.push_back(call);
        return result;
    }

    Calls calls;
    POINT screen = {800, 600};
    POINT cursor = {100, 200};
    std::set<int> held, tapped;
    int iconsShown = 0;
    BOOL hasPowerThrottling = TRUE; // FALSE: a Windows without SetProcessInformation
    NOTIFYICONDATAW lastIcon = {}; // as last added or modified, notifications aside
    UINT notificationAreaDpi = USER_DEFAULT_SCREEN_DPI;
    HWND pointed = nullptr, foreground = nullptr;
    std::map<HWND, WindowProgram> programs;
    std::vector<DWORD> mutexErrors = {ERROR_SUCCESS};
    DWORD ownLevel = SECURITY_MANDATORY_MEDIUM_RID;
    BOOL elevated = TRUE;
    bool consent = true;
    DWORD refusal = ERROR_CANCELLED;         // the error of a start not consented to
    HWND runningPanel = nullptr;             // the window another copy's panel would be
    DWORD processWait = WAIT_OBJECT_0;       // how the wait for that copy's end ends
    BOOL sameUser = TRUE;                    // whether that copy runs as this account
    std::vector<std::wstring> launched;      // verb and file of each start
    std::vector<bool> ownerShown;            // each start's owner shown, not minimised
    std::vector<NOTIFYICONDATAW> notices;    // the records that carried a notification
    struct Box {
        HWND owner;
        std::wstring text, caption;
        UINT type;
    };
    std::vector<Box> boxes;
};
