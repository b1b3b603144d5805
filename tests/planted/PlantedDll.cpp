// A DLL that stands for one planted beside a downloaded program: copied
// under the name of a system DLL into the program's folder, it leaves a
// marker file beside itself when a process loads it, named after both:
// "<its path>.<the process's file name>.loaded".
#include <windows.h>

namespace {

const wchar_t* FileNameOf(const wchar_t* path)
{
    const wchar_t* name = path;
    for (const wchar_t* at = path; *at; ++at)
        if (*at == L'\\' || *at == L'/')
            name = at + 1;
    return name;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t marker[3 * MAX_PATH];
    wchar_t process[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(module, marker, MAX_PATH);
    const DWORD processLength = ::GetModuleFileNameW(nullptr, process, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || processLength == 0 || processLength >= MAX_PATH)
        return TRUE;
    ::lstrcatW(marker, L".");
    ::lstrcatW(marker, FileNameOf(process));
    ::lstrcatW(marker, L".loaded");
    const HANDLE file = ::CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    return TRUE;
}
