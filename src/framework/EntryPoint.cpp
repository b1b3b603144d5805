#include <windows.h>

#include "framework/Application.h"

// The program's entry: hand over to the one application object.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CApplication* application = CApplication::Current();
    return application ? application->Run() : 1;
}
