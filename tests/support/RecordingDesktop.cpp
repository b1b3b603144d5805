#include "support/RecordingDesktop.h"

std::ostream& operator<<(std::ostream& out, const DesktopCall& call)
{
    static const char* const names[] = {"Metrics", "CursorRead", "CursorMove", "Button", "KeyQuery", "Beep", "TrayIcon"};
    return out << names[call.kind] << "(" << call.a << ", " << call.b << ", " << call.c << ")";
}

DesktopCall MetricsCall(int index) { return {DesktopCall::Metrics, index, 0, 0}; }
DesktopCall CursorReadCall() { return {DesktopCall::CursorRead, 0, 0, 0}; }
DesktopCall MoveCall(long x, long y) { return {DesktopCall::CursorMove, x, y, 0}; }
DesktopCall DownCall(long x, long y) { return {DesktopCall::Button, MOUSEEVENTF_LEFTDOWN, x, y}; }
DesktopCall UpCall(long x, long y) { return {DesktopCall::Button, MOUSEEVENTF_LEFTUP, x, y}; }
DesktopCall KeyCall(int virtualKey) { return {DesktopCall::KeyQuery, virtualKey, 0, 0}; }
DesktopCall BeepCall() { return {DesktopCall::Beep, static_cast<long>(0xFFFFFFFF), 0, 0}; }
DesktopCall TrayCall(DWORD message) { return {DesktopCall::TrayIcon, static_cast<long>(message), 0, 0}; }

int CRecordingDesktop::GetSystemMetrics(int index)
{
    calls.push_back(MetricsCall(index));
    switch (index) {
    case SM_CXSCREEN:
        return screenWidth;
    case SM_CYSCREEN:
        return screenHeight;
    default:
        return 32;
    }
}

BOOL CRecordingDesktop::GetCursorPos(POINT* point)
{
    calls.push_back(CursorReadCall());
    *point = cursor;
    return TRUE;
}

BOOL CRecordingDesktop::SetCursorPos(int x, int y)
{
    calls.push_back(MoveCall(x, y));
    cursor = {x, y};
    return TRUE;
}

void CRecordingDesktop::MouseEvent(DWORD flags, DWORD x, DWORD y, DWORD, ULONG_PTR)
{
    calls.push_back({DesktopCall::Button, static_cast<long>(flags), static_cast<long>(static_cast<LONG>(x)),
                     static_cast<long>(static_cast<LONG>(y))});
    if (flags & MOUSEEVENTF_LEFTDOWN)
        m_tapped.insert(VK_LBUTTON);
}

SHORT CRecordingDesktop::GetAsyncKeyState(int virtualKey)
{
    calls.push_back(KeyCall(virtualKey));
    SHORT state = 0;
    if (m_held.count(virtualKey))
        state = static_cast<SHORT>(0x8000);
    if (m_tapped.erase(virtualKey))
        state = static_cast<SHORT>(state | 1);
    return state;
}

BOOL CRecordingDesktop::MessageBeep(UINT type)
{
    calls.push_back({DesktopCall::Beep, static_cast<long>(type), 0, 0});
    return TRUE;
}

BOOL CRecordingDesktop::ShellNotifyIcon(DWORD message, NOTIFYICONDATAA* data)
{
    calls.push_back(TrayCall(message));
    if (message == NIM_ADD) {
        ++iconsShown;
        lastIcon = *data;
    } else if (message == NIM_DELETE) {
        --iconsShown;
    }
    return TRUE;
}

std::vector<DesktopCall> CRecordingDesktop::CallsOf(DesktopCall::Kind kind) const
{
    std::vector<DesktopCall> result;
    for (const DesktopCall& call : calls)
        if (call.kind == kind)
            result.push_back(call);
    return result;
}
