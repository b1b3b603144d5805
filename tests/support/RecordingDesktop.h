#pragma once
#include "platform/Desktop.h"

#include <ostream>
#include <set>
#include <vector>

// One call the panel made on the desktop, with the arguments that matter.
struct DesktopCall {
    enum Kind { Metrics, CursorRead, CursorMove, Button, KeyQuery, Beep, TrayIcon, TimerResolution, PowerThrottling } kind;
    long a, b, c;
    bool operator==(const DesktopCall& o) const { return kind == o.kind && a == o.a && b == o.b && c == o.c; }
};
inline std::ostream& operator<<(std::ostream& out, const DesktopCall& call)
{
    return out << "{" << call.kind << ": " << call.a << ", " << call.b << ", " << call.c << "}";
}
inline DesktopCall MoveCall(long x, long y) { return {DesktopCall::CursorMove, x, y, 0}; }
inline DesktopCall DownCall(long x, long y) { return {DesktopCall::Button, MOUSEEVENTF_LEFTDOWN, x, y}; }
inline DesktopCall UpCall(long x, long y) { return {DesktopCall::Button, MOUSEEVENTF_LEFTUP, x, y}; }
inline DesktopCall KeyCall(int virtualKey) { return {DesktopCall::KeyQuery, virtualKey, 0, 0}; }
inline DesktopCall TrayCall(DWORD message) { return {DesktopCall::TrayIcon, static_cast<long>(message), 0, 0}; }
// A finer timer resolution asked for (begin) or given back (end), in milliseconds.
inline DesktopCall BeginPeriodCall(UINT ms) { return {DesktopCall::TimerResolution, 1, static_cast<long>(ms), 0}; }
inline DesktopCall EndPeriodCall(UINT ms) { return {DesktopCall::TimerResolution, 0, static_cast<long>(ms), 0}; }
// The power-throttling record handed to Windows: version, control and state masks.
inline DesktopCall ThrottlingCall(ULONG version, ULONG control, ULONG state)
{
    return {DesktopCall::PowerThrottling, static_cast<long>(version), static_cast<long>(control), static_cast<long>(state)};
}
const DesktopCall kBeep = {DesktopCall::Beep, -1, 0, 0};
const DesktopCall kCursorRead = {DesktopCall::CursorRead, 0, 0, 0};

// A desktop that records every call. Keys can be held or tapped once; like
// the real one, a left press the program injects reads as a press of the
// left button at the next query.
class CRecordingDesktop : public IDesktop {
public:
    int GetSystemMetrics(int index) override
    {
        calls.push_back({DesktopCall::Metrics, index, 0, 0});
        return index == SM_CXSCREEN ? screen.x : index == SM_CYSCREEN ? screen.y : 32;
    }
    BOOL GetCursorPos(POINT* point) override { return calls.push_back(kCursorRead), *point = cursor, TRUE; }
    BOOL SetCursorPos(int x, int y) override { return calls.push_back(MoveCall(x, y)), cursor = {x, y}, TRUE; }
    void MouseEvent(DWORD flags, DWORD x, DWORD y, DWORD, ULONG_PTR) override
    {
        calls.push_back({DesktopCall::Button, static_cast<long>(flags), static_cast<LONG>(x), static_cast<LONG>(y)});
        if (flags & MOUSEEVENTF_LEFTDOWN)
            tapped.insert(VK_LBUTTON);
    }
    SHORT GetAsyncKeyState(int virtualKey) override
    {
        calls.push_back(KeyCall(virtualKey));
        return static_cast<SHORT>((held.count(virtualKey) ? 0x8000 : 0) | (tapped.erase(virtualKey) ? 1 : 0));
    }
    BOOL MessageBeep(UINT type) override { return calls.push_back({DesktopCall::Beep, static_cast<LONG>(type), 0, 0}), TRUE; }
    BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) override
    {
        calls.push_back(TrayCall(message));
        iconsShown += message == NIM_ADD ? 1 : message == NIM_DELETE ? -1 : 0;
        if (message == NIM_ADD)
            lastIcon = *data;
        return TRUE;
    }
    MMRESULT TimeBeginPeriod(UINT ms) override { return calls.push_back(BeginPeriodCall(ms)), TIMERR_NOERROR; }
    MMRESULT TimeEndPeriod(UINT ms) override { return calls.push_back(EndPeriodCall(ms)), TIMERR_NOERROR; }
    BOOL SetProcessPowerThrottling(const PowerThrottlingState& state) override
    {
        calls.push_back(ThrottlingCall(state.version, state.controlMask, state.stateMask));
        return hasPowerThrottling;
    }
    std::vector<DesktopCall> CallsOf(DesktopCall::Kind kind) const
    {
        std::vector<DesktopCall> result;
        for (const DesktopCall& call : calls)
            if (call.kind == kind)
                result.push_back(call);
        return result;
    }

    std::vector<DesktopCall> calls;
    POINT screen = {800, 600};
    POINT cursor = {100, 200};
    std::set<int> held, tapped;
    int iconsShown = 0;
    BOOL hasPowerThrottling = TRUE; // FALSE: a Windows without SetProcessInformation
    NOTIFYICONDATAW lastIcon = {};
};
