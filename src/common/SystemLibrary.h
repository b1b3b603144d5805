#pragma once
#include <windows.h>

#include <cstddef>

// Where the process takes its DLLs from. A program started from a Downloads
// folder must never run a DLL that happens to lie beside it: Windows looks
// for a DLL outside its known DLLs in the program's own folder first, and
// Windows' own DLLs load further DLLs by name on the program's behalf.

// Restricts the DLL search path to the system folder for the rest of the
// process, where Windows can (SetDefaultDllDirectories: Windows 8 and later,
// Windows 7 with KB2533623). Elsewhere it takes the current folder out of the
// search path and loads, from the system folder by full path, the DLLs that
// Windows' own DLLs are known to load later by name, so that those loads find
// them already there. The entry point's first act, before any window or COM
// object exists.
void RestrictDllSearchToSystemFolder();

// The same with SetDefaultDllDirectories given; null stands for a Windows
// that lacks it.
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
void RestrictDllSearchToSystemFolder(SetDefaultDllDirectoriesFunction setDefaultDllDirectories);

// The DLLs loaded beforehand where the search path cannot be restricted.
extern const wchar_t* const kPreloadedSystemDlls[];
extern const size_t kPreloadedSystemDllCount;

// A DLL of the system folder, loaded by its full path; nullptr where it is
// missing. Its dependencies come from the system folder too. Never freed:
// the program keeps what it loads for its whole run.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// Registers the common controls' window classes (ICC_ flags of
// InitCommonControlsEx), loading comctl32 on first use rather than importing
// it: Wine's comctl32 loads the theme DLL by name as it initialises, which
// for an imported one happens before the program's first instruction. It is
// loaded by name, so that the manifest binds it to its side-by-side assembly,
// which the loader consults before any folder. False where that failed.
bool InitCommonControlClasses(DWORD classes);

// A function of a loaded module, looked up by name and given its own type;
// nullptr where the module lacks it (or is null itself).
template <typename Function>
Function FindFunction(HMODULE module, const char* name)
{
    const FARPROC found = module ? ::GetProcAddress(module, name) : nullptr;
    // Through the generic function type, which the compiler accepts as a cast target.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
