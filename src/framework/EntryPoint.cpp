#include <windows.h>

#include "framework/Application.h"

// The program's entry: hand over to the one application object. Nothing may
// escape into the C runtime's start-up code, so anything thrown ends the
// process with a failure code instead.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        CApplication* application = CApplication::Current();
        return application ? application->Run() : 1;
    } catch (...) {
        return 1;
    }
}
