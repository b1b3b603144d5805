#include "app/SingleInstance.h"

#include "platform/Desktop.h"

bool ClaimFirstInstance(IDesktop& desktop, const CText& appName, HANDLE& mutex)
{
    mutex = desktop.CreateMutexW(appName.GetString());
    const DWORD error = ::GetLastError();
    return error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED;
}
