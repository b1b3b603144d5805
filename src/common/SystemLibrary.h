#pragma once
#include <windows.h>

#include "common/DynamicCalls.h"

#include <cstddef>

// Where the process takes its DLLs from. A program started from a Downloads
// folder must never run a DLL that happens to lie beside it: Windows looks
// for a DLL outside its known DLLs in the program's own folder first, and
// Windows' own DLLs load further DLLs by name on the program's behalf.

// Restricts the DLL search path to the system folder for the rest of the
// process with SetDefaultDllDirectories (Windows 8 and later, 7 with
// KB2533623). Where that is null, as on a Windows that lacks it, it takes the
// current folder out of the search path instead and loads, from the system
// folder by full path, the DLLs that Windows' own DLLs are known to load
// later by name, so that those loads find them already there. The entry
// point's first act, before any window or COM object exists.
void RestrictDllSearchToSystemFolder(DynamicCalls::SetDefaultDllDirectoriesFunction setDefaultDllDirectories);

// The DLLs loaded beforehand where the search path cannot be restricted.
extern const wchar_t* const kPreloadedSystemDlls[];
extern const size_t kPreloadedSystemDllCount;

// A DLL of the system folder, loaded by its full path; nullptr where it is
// missing. Its dependencies come from the system folder too. Never freed:
// the program keeps what it loads for its whole run.
HMODULE LoadSystemLibrary(const wchar_t* fileName);
