#include "platform/Desktop.h"

#include "common/Dpi.h"
#include "common/DynamicCalls.h"

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

// The taskbar's window class; the notification area is part of it.
static const wchar_t kTaskbarClass[] = L"Shell_TrayWnd";

UINT CWin32Desktop::GetNotificationAreaDpi()
{
    // A per-monitor window's scale is its screen's, and the shell's taskbar
    // is one. Without a taskbar, or before Windows 10 1607, the system's.
    return DpiOfWindow(::FindWindowW(kTaskbarClass, nullptr));
}

// winmm is not one of Windows' known DLLs: imported, it would be looked for
// in the program's folder first. Where it cannot be had, the requests fail
// and clicking runs at the system's default resolution.
MMRESULT CWin32Desktop::TimeBeginPeriod(UINT milliseconds)
{
    ResolveWinmmCalls();
    return DynamicCalls::timeBeginPeriod ? DynamicCalls::timeBeginPeriod(milliseconds) : TIMERR_NOCANDO;
}

MMRESULT CWin32Desktop::TimeEndPeriod(UINT milliseconds)
{
    ResolveWinmmCalls();
    return DynamicCalls::timeEndPeriod ? DynamicCalls::timeEndPeriod(milliseconds) : TIMERR_NOCANDO;
}

namespace {

constexpr int kProcessPowerThrottling = 4; // PROCESS_INFORMATION_CLASS

} // namespace

// Windows 7 lacks the function, and Windows before 11 refuses the flag.
BOOL CWin32Desktop::SetProcessPowerThrottling(const PowerThrottlingState& state)
{
    if (!DynamicCalls::SetProcessInformation)
        return FALSE;
    PowerThrottlingState copy = state;
    return DynamicCalls::SetProcessInformation(::GetCurrentProcess(), kProcessPowerThrottling, &copy, sizeof copy);
}
