// The control of the planted-DLL test: a program of no defences that loads
// each DLL named on its command line by name, as Windows' own DLLs do on a
// program's behalf. Started from the planted folder, it shows that the
// planted copies are what a load by name would find there.
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    int missing = 0;
    for (int i = 1; i < argc; ++i)
        if (!::LoadLibraryW(argv[i]))
            ++missing;
    return missing;
}
