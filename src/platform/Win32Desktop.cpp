#include "platform/Desktop.h"

#include "common/Dpi.h"
#include "common/DynamicCalls.h"
#include "common/HeapArray.h"
#include "common/ModuleName.h"

#include <objbase.h>

#include <cwchar>

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

HWND CWin32Desktop::WindowFromPoint(POINT point)
{
    return ::WindowFromPoint(point);
}

HWND CWin32Desktop::GetForegroundWindow()
{
    return ::GetForegroundWindow();
}

namespace {

// The integrity level of the token: the last sub-authority of its mandatory
// label's SID (S-1-16-8192 is medium, S-1-16-12288 high).
DWORD IntegrityLevelOf(HANDLE process)
{
    HANDLE token = nullptr;
    if (!process || !::OpenProcessToken(process, TOKEN_QUERY, &token))
        return kIntegrityUnreadable;
    DWORD level = kIntegrityUnreadable;
    // A label is a SID and its attributes; room for the largest SID there is.
    alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (::GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size)) {
        const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
        const UCHAR count = *::GetSidSubAuthorityCount(sid);
        if (count > 0)
            level = *::GetSidSubAuthority(sid, count - 1U);
    }
    ::CloseHandle(token);
    return level;
}

} // namespace

// The longest path Windows allows, in characters ("\\?\" paths).
constexpr DWORD kLongestPath = 32767;

// Windows' stand-in for a hung window; its process is the desktop window
// manager's, which a program at medium level cannot open.
static const wchar_t kGhostWindowClass[] = L"Ghost";

WindowProgram CWin32Desktop::GetWindowProgram(HWND window)
{
    WindowProgram program;
    if (!window || !::GetWindowThreadProcessId(window, &program.processId) || program.processId == 0) {
        program.processId = 0; // gone between the look and the query
        return program;
    }
    wchar_t className[ARRAYSIZE(kGhostWindowClass) + 1] = L"";
    ::GetClassNameW(window, className, ARRAYSIZE(className));
    program.ghost = std::wcscmp(className, kGhostWindowClass) == 0;
    if (program.processId == ::GetCurrentProcessId()) {
        program.level = GetOwnIntegrityLevel();
        program.image = ModulePath();
        return program;
    }
    // The least access that reads a token and an image's name; a program at
    // medium level gets it for most processes, but the token of an elevated
    // one, or of another account's, stays closed.
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program.processId);
    program.level = IntegrityLevelOf(process);
    if (process) {
        // Paths may be as long as Windows allows: a program known only by its
        // process would be told of again at each of its starts.
        CHeapArray<wchar_t> image(kLongestPath + 1);
        DWORD length = static_cast<DWORD>(image.Size());
        if (length > 0 && ::QueryFullProcessImageNameW(process, 0, image.Data(), &length))
            program.image = CText(image.Data(), length);
        ::CloseHandle(process);
    }
    return program;
}

DWORD CWin32Desktop::GetOwnIntegrityLevel()
{
    return IntegrityLevelOf(::GetCurrentProcess());
}

BOOL CWin32Desktop::IsProcessElevated()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return FALSE;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const BOOL read = ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    ::CloseHandle(token);
    return read && elevation.TokenIsElevated ? TRUE : FALSE;
}

BOOL CWin32Desktop::ShellExecuteExW(SHELLEXECUTEINFOW* info)
{
    // The shell may hand the start to extensions made with COM, which wants
    // the calling thread to have it; for this call only, as the picture does.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const BOOL started = ::ShellExecuteExW(info);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return started;
}

HANDLE CWin32Desktop::CreateMutexW(const wchar_t* name)
{
    return ::CreateMutexW(nullptr, TRUE, name);
}

BOOL CWin32Desktop::ChangeWindowMessageFilterEx(HWND window, UINT message, DWORD action)
{
    return ::ChangeWindowMessageFilterEx(window, message, action, nullptr);
}

BOOL CWin32Desktop::SetForegroundWindow(HWND window)
{
    return ::SetForegroundWindow(window);
}

int CWin32Desktop::MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    return ::MessageBoxW(owner, text, caption, type);
}

namespace {

struct PropSearch {
    const wchar_t* property;
    HWND found;
};

BOOL CALLBACK FindWithProp(HWND window, LPARAM search)
{
    auto* wanted = reinterpret_cast<PropSearch*>(search);
    if (!::GetPropW(window, wanted->property))
        return TRUE;
    wanted->found = window;
    return FALSE;
}

// How often a window that should go is looked at again.
constexpr DWORD kWindowPollMs = 50;

} // namespace

// EnumWindows rather than a walk with GetWindow, which may loop for ever or
// reach a window destroyed meanwhile.
HWND CWin32Desktop::FindWindowWithProp(const wchar_t* property)
{
    PropSearch search = {property, nullptr};
    ::EnumWindows(FindWithProp, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD CWin32Desktop::GetWindowThreadProcessId(HWND window)
{
    DWORD processId = 0;
    return ::GetWindowThreadProcessId(window, &processId) ? processId : 0;
}

BOOL CWin32Desktop::AllowSetForegroundWindow(DWORD processId)
{
    return ::AllowSetForegroundWindow(processId);
}

BOOL CWin32Desktop::PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(window, message, wParam, lParam);
}

DWORD CWin32Desktop::WaitForProcess(DWORD processId, DWORD milliseconds)
{
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return ::GetLastError() == ERROR_INVALID_PARAMETER ? WAIT_OBJECT_0 : WAIT_FAILED; // no such process left
    const DWORD result = ::WaitForSingleObject(process, milliseconds);
    ::CloseHandle(process);
    return result;
}

BOOL CWin32Desktop::WaitForWindowGone(HWND window, DWORD milliseconds)
{
    for (DWORD waited = 0; ::IsWindow(window); waited += kWindowPollMs) {
        if (waited >= milliseconds)
            return FALSE;
        ::Sleep(kWindowPollMs);
    }
    return TRUE;
}

namespace {

// The user account of the process's token, copied into 'sid'; false where
// the process or its token cannot be opened.
bool UserOf(HANDLE process, BYTE (&sid)[SECURITY_MAX_SID_SIZE])
{
    HANDLE token = nullptr;
    if (!process || !::OpenProcessToken(process, TOKEN_QUERY, &token))
        return false;
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    const bool read = ::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
                      ::CopySid(sizeof sid, sid, reinterpret_cast<const TOKEN_USER*>(buffer)->User.Sid);
    ::CloseHandle(token);
    return read;
}

} // namespace

BOOL CWin32Desktop::IsProcessOfThisUser(DWORD processId)
{
    BYTE own[SECURITY_MAX_SID_SIZE] = {};
    BYTE other[SECURITY_MAX_SID_SIZE] = {};
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    const bool read = UserOf(::GetCurrentProcess(), own) && UserOf(process, other);
    if (process)
        ::CloseHandle(process);
    return read && ::EqualSid(own, other) ? TRUE : FALSE;
}

void CWin32Desktop::Sleep(DWORD milliseconds)
{
    ::Sleep(milliseconds);
}
