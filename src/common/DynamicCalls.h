#pragma once
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

// Every function the program looks up at run time instead of importing it:
// those newer than Windows 7 SP1, whose import would keep the program from
// starting there, and those of DLLs that are not known DLLs, whose import
// Windows would look for in the program's folder first. One row each: the
// function, its type, the Windows that brings it. A function not found stays
// null, and its caller works on without it.

// In DLLs the program imports, which are mapped before its first
// instruction: looking them up loads nothing.
#define VEXO_KERNEL32_CALLS(CALL) \
    CALL(SetDefaultDllDirectories, BOOL(WINAPI*)(DWORD), "Windows 8, or 7 with KB2533623") \
    CALL(SetProcessInformation, BOOL(WINAPI*)(HANDLE, int, void*, DWORD), "Windows 8")
#define VEXO_USER32_CALLS(CALL) \
    CALL(GetDpiForWindow, UINT(WINAPI*)(HWND), "Windows 10 1607") \
    CALL(GetSystemMetricsForDpi, int(WINAPI*)(int, UINT), "Windows 10 1607")
// Loaded by name, which the manifest binds to its side-by-side assembly:
// imported, Wine's comctl32 would load the theme DLL by name before the
// program's first instruction.
#define VEXO_COMCTL32_CALLS(CALL) \
    CALL(InitCommonControlsEx, BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*), "Windows 7")
// Loaded from the system folder by full path when clicking first needs it.
#define VEXO_WINMM_CALLS(CALL) \
    CALL(timeBeginPeriod, MMRESULT(WINAPI*)(UINT), "Windows 7") \
    CALL(timeEndPeriod, MMRESULT(WINAPI*)(UINT), "Windows 7")
#define VEXO_DYNAMIC_CALLS(CALL) \
    VEXO_KERNEL32_CALLS(CALL) VEXO_USER32_CALLS(CALL) VEXO_COMCTL32_CALLS(CALL) VEXO_WINMM_CALLS(CALL)

namespace DynamicCalls {
#define VEXO_DECLARE_CALL(name, type, since) \
    using name##Function = type; \
    extern name##Function name;
VEXO_DYNAMIC_CALLS(VEXO_DECLARE_CALL)
#undef VEXO_DECLARE_CALL
} // namespace DynamicCalls

// kernel32's and user32's. Loading nothing, they can be had before the DLL
// search is restricted, which needs SetDefaultDllDirectories.
void ResolveImportedDllCalls();
// comctl32's, loading it by name: only once the DLL search is restricted.
void ResolveLoadedDllCalls();
// winmm's, loading it the first time.
void ResolveWinmmCalls();

// A function of a loaded module, looked up by name and given its own type;
// nullptr where the module lacks it (or is null itself).
template <typename Function>
Function FindFunction(HMODULE module, const char* name)
{
    const FARPROC found = module ? ::GetProcAddress(module, name) : nullptr;
    // Through the generic function type, which the compiler accepts as a cast target.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
