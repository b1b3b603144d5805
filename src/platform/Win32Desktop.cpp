#include "platform/Desktop.h"

int CWin32Desktop::GetSystemMetrics(int index)
{
    return ::GetSystemMetrics(index);
}

BOOL CWin32Desktop::GetCursorPos(POINT* point)
{
    return ::GetCursorPos(point);
}

BOOL CWin32Desktop::SetCursorPos(int x, int y)
{
    return ::SetCursorPos(x, y);
}

void CWin32Desktop::MouseEvent(DWORD flags, DWORD x, DWORD y, DWORD data, ULONG_PTR extraInfo)
{
    ::mouse_event(flags, x, y, data, extraInfo);
}

SHORT CWin32Desktop::GetAsyncKeyState(int virtualKey)
{
    return ::GetAsyncKeyState(virtualKey);
}

BOOL CWin32Desktop::MessageBeep(UINT type)
{
    return ::MessageBeep(type);
}

BOOL CWin32Desktop::ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data)
{
    return ::Shell_NotifyIconW(message, data);
}

MMRESULT CWin32Desktop::TimeBeginPeriod(UINT milliseconds)
{
    return ::timeBeginPeriod(milliseconds);
}

MMRESULT CWin32Desktop::TimeEndPeriod(UINT milliseconds)
{
    return ::timeEndPeriod(milliseconds);
}

namespace {

// SetProcessInformation with ProcessPowerThrottling and its record, declared
// here because the headers show them only to programs built for Windows 8 and
// later, and this one starts on Windows 7.
constexpr int kProcessPowerThrottling = 4;
constexpr ULONG kPowerThrottlingCurrentVersion = 1;
constexpr ULONG kPowerThrottlingIgnoreTimerResolution = 0x4;
struct PowerThrottlingState {
    ULONG version;
    ULONG controlMask;
    ULONG stateMask;
};
using SetProcessInformationFunction = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);

} // namespace

// Looked up, not imported: Windows 7 lacks the function, and Windows before
// 11 refuses the flag. Either way the program runs on as before.
void KeepTimerResolutionWhileHidden()
{
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetProcessInformation");
    if (!found)
        return;
    // Through the generic function type, which the compiler accepts as a cast target.
    const auto setInformation =
        reinterpret_cast<SetProcessInformationFunction>(reinterpret_cast<void (*)()>(found));
    // The control mask takes charge of the policy; the clear state bit says
    // "do not ignore the requests".
    PowerThrottlingState state = {kPowerThrottlingCurrentVersion, kPowerThrottlingIgnoreTimerResolution, 0};
    setInformation(::GetCurrentProcess(), kProcessPowerThrottling, &state, sizeof state);
}
