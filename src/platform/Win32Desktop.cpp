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

BOOL CWin32Desktop::ShellNotifyIcon(DWORD message, NOTIFYICONDATAA* data)
{
    return ::Shell_NotifyIconA(message, data);
}
