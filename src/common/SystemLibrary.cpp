#include "common/SystemLibrary.h"

#include <cwchar>

namespace {

// Not in the headers of a build for Windows 7, which may lack it.
constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

bool g_searchRestricted = false;

} // namespace

// Windows' own DLLs load these by name, after the program has started: the
// theme and the desktop compositor with the first window, the imaging
// component, property system and codecs with the picture, the rest with the
// shell, COM and the security and profile services they use. A later load by
// name finds the copy loaded here first.
const wchar_t* const kPreloadedSystemDlls[] = {
    L"uxtheme.dll",  L"dwmapi.dll",  L"version.dll", L"cryptbase.dll", L"propsys.dll",
    L"oleacc.dll",   L"userenv.dll", L"setupapi.dll", L"apphelp.dll",  L"clbcatq.dll",
    L"msimg32.dll",  L"windowscodecs.dll", L"profapi.dll", L"wintrust.dll", L"msctf.dll",
};
const size_t kPreloadedSystemDllCount = sizeof kPreloadedSystemDlls / sizeof kPreloadedSystemDlls[0];

void RestrictDllSearchToSystemFolder(DynamicCalls::SetDefaultDllDirectoriesFunction setDefaultDllDirectories)
{
    if (setDefaultDllDirectories && setDefaultDllDirectories(kSearchSystem32))
        g_searchRestricted = true;
    else
        ::SetDllDirectoryW(L""); // the program's own folder stays first in the search order
    // Where the search path could not be restricted, only what is loaded
    // before anyone asks for it by name is safe. Where it could, these go
    // first all the same: Wine resolves its DLLs' delay-loaded imports (the
    // theme's, at the first window) through the standard order regardless.
    for (const wchar_t* fileName : kPreloadedSystemDlls)
        LoadSystemLibrary(fileName);
}

HMODULE LoadSystemLibrary(const wchar_t* fileName)
{
    wchar_t path[MAX_PATH];
    const UINT folderLength = ::GetSystemDirectoryW(path, MAX_PATH);
    const size_t nameLength = std::wcslen(fileName);
    if (folderLength == 0 || folderLength + 1 + nameLength >= MAX_PATH)
        return nullptr;
    path[folderLength] = L'\\';
    std::wmemcpy(path + folderLength + 1, fileName, nameLength + 1);
    // With the search path restricted, dependencies come from the system
    // folder anyway; otherwise the altered search order looks for them in
    // the loaded DLL's own folder first, not in the program's.
    return ::LoadLibraryExW(path, nullptr, g_searchRestricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}
