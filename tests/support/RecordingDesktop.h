#pragma once
#include "platform/Desktop.h"

#include <map>
#include <ostream>
#include <set>
#include <vector>

// One call the panel made on the desktop, with the arguments that matter.
struct DesktopCall {
    enum Kind { Metrics, CursorRead, CursorMove, Button, KeyQuery, Beep, TrayIcon };
    Kind kind;
    long a;
    long b;
    long c;

    bool operator==(const DesktopCall& other) const
    {
        return kind == other.kind && a == other.a && b == other.b && c == other.c;
    }
};
std::ostream& operator<<(std::ostream& out, const DesktopCall& call);

// Builders for expected sequences.
DesktopCall MetricsCall(int index);
DesktopCall CursorReadCall();
DesktopCall MoveCall(long x, long y);
DesktopCall DownCall(long x, long y);
DesktopCall UpCall(long x, long y);
DesktopCall KeyCall(int virtualKey);
DesktopCall BeepCall();
DesktopCall TrayCall(DWORD message);

// A desktop that records every call. Keys can be held down or tapped once;
// like the real one, a left press the program injects itself reads as a
// press of the left button at the next query.
class CRecordingDesktop : public IDesktop {
public:
    int GetSystemMetrics(int index) override;
    BOOL GetCursorPos(POINT* point) override;
    BOOL SetCursorPos(int x, int y) override;
    void MouseEvent(DWORD flags, DWORD x, DWORD y, DWORD data, ULONG_PTR extraInfo) override;
    SHORT GetAsyncKeyState(int virtualKey) override;
    BOOL MessageBeep(UINT type) override;
    BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAA* data) override;

    void Hold(int virtualKey) { m_held.insert(virtualKey); }
    void Release(int virtualKey) { m_held.erase(virtualKey); }
    void Tap(int virtualKey) { m_tapped.insert(virtualKey); }

    // Calls of one kind only, in order.
    std::vector<DesktopCall> CallsOf(DesktopCall::Kind kind) const;
    void Clear() { calls.clear(); }

    std::vector<DesktopCall> calls;
    int screenWidth = 800;
    int screenHeight = 600;
    POINT cursor = {100, 200};
    int iconsShown = 0;                 // added and not yet deleted
    NOTIFYICONDATAA lastIcon = {};      // the record of the last add

private:
    std::set<int> m_held;
    std::set<int> m_tapped;
};
