#include <windows.h>

#include "framework/Application.h"
#include "common/SystemLibrary.h"

// The program's entry: hand over to the one application object. No
// constructor of a global object touches the window system or COM, so this
// runs before anything loads a DLL on the program's behalf.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictDllSearchToSystemFolder();
    CApplication* application = CApplication::Current();
    return application ? application->Run() : 1;
}
