#include <windows.h>

#include "common/DynamicCalls.h"
#include "common/SystemLibrary.h"
#include "framework/Application.h"

// The program's entry: the DLL search restricted and the run-time lookups
// made, then hand over to the one application object. No constructor of a
// global object touches the window system or COM, so this runs before
// anything loads a DLL on the program's behalf.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ResolveImportedDllCalls();
    RestrictDllSearchToSystemFolder(DynamicCalls::SetDefaultDllDirectories);
    ResolveLoadedDllCalls();
    CApplication* application = CApplication::Current();
    return application ? application->Run() : 1;
}
