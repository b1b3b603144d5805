#include "platform/Desktop.h"

#include "framework/SystemLibrary.h"

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

// winmm is not one of Windows' known DLLs: imported, it would be looked for
// in the program's folder first. So it is loaded from the system folder by
// full path, when clicking first needs it; where it cannot be had, the
// requests fail and clicking runs at the system's default resolution.
void CWin32Desktop::LoadTimerFunctions()
{
    if (m_bTimerFunctionsLooked)
        return;
    m_bTimerFunctionsLooked = true;
    const HMODULE winmm = LoadSystemLibrary(L"winmm.dll");
    m_timeBeginPeriod = FindFunction<TimePeriodFunction>(winmm, "timeBeginPeriod");
    m_timeEndPeriod = FindFunction<TimePeriodFunction>(winmm, "timeEndPeriod");
}

MMRESULT CWin32Desktop::TimeBeginPeriod(UINT milliseconds)
{
    LoadTimerFunctions();
    return m_timeBeginPeriod ? m_timeBeginPeriod(milliseconds) : TIMERR_NOCANDO;
}

MMRESULT CWin32Desktop::TimeEndPeriod(UINT milliseconds)
{
    LoadTimerFunctions();
    return m_timeEndPeriod ? m_timeEndPeriod(milliseconds) : TIMERR_NOCANDO;
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
    const auto setInformation =
        FindFunction<SetProcessInformationFunction>(::GetModuleHandleW(L"kernel32.dll"), "SetProcessInformation");
    if (!setInformation)
        return;
    // The control mask takes charge of the policy; the clear state bit says
    // "do not ignore the requests".
    PowerThrottlingState state = {kPowerThrottlingCurrentVersion, kPowerThrottlingIgnoreTimerResolution, 0};
    setInformation(::GetCurrentProcess(), kProcessPowerThrottling, &state, sizeof state);
}
