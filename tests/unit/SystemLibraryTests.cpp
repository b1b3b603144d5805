#include <windows.h>
#include <mmsystem.h>

#include "common/SystemLibrary.h"
#include "platform/Desktop.h"

#include <gtest/gtest.h>

#include <string>

// Each test runs in a process of its own (ctest starts one per test), since
// a restricted search path cannot be undone.

namespace {

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = L"";
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

std::wstring PathOf(HMODULE module)
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

// Compared without regard to case, as Windows compares file names.
bool InSystemFolder(const std::wstring& path)
{
    const std::wstring folder = SystemFolder() + L"\\";
    return path.size() > folder.size() && ::CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()),
                                                                 folder.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The test DLL is built beside the test program, where a search in the
// program's folder would find it.
constexpr wchar_t kBesideTheProgram[] = L"vexo_planted.dll";

std::wstring ProgramFolder()
{
    const std::wstring path = PathOf(nullptr);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

} // namespace

TEST(DllSearch, OnceRestrictedADllBesideTheProgramIsNotFoundButSystemDllsAre)
{
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((ProgramFolder() + kBesideTheProgram).c_str()))
        << "build vexo_planted first";

    RestrictDllSearchToSystemFolder(DynamicCalls::SetDefaultDllDirectories);
    EXPECT_EQ(nullptr, ::LoadLibraryW(kBesideTheProgram));
    const HMODULE system = ::LoadLibraryW(L"dwmapi.dll");
    ASSERT_NE(nullptr, system);
    EXPECT_TRUE(InSystemFolder(PathOf(system))) << PathOf(system).c_str();
}

// Where Windows cannot restrict the search, the DLLs its own DLLs load later
// by name are already there, from the system folder. That the current folder
// is no longer searched cannot be seen here: Wine searches it regardless.
TEST(DllSearch, WithoutTheRestrictionTheSystemDllsAreLoadedFromTheSystemFolderFirst)
{
    RestrictDllSearchToSystemFolder(nullptr);
    int loaded = 0;
    for (size_t i = 0; i < kPreloadedSystemDllCount; ++i) {
        const wchar_t* name = kPreloadedSystemDlls[i];
        if (::GetFileAttributesW((SystemFolder() + L"\\" + name).c_str()) == INVALID_FILE_ATTRIBUTES)
            continue; // this Windows (or Wine) has none
        const HMODULE module = ::GetModuleHandleW(name);
        EXPECT_NE(nullptr, module) << name;
        EXPECT_TRUE(module && InSystemFolder(PathOf(module))) << name;
        ++loaded;
    }
    EXPECT_GT(loaded, 5);
}

// The timer resolution comes from the system folder's winmm, looked up at
// run time since it is not imported, even where the search path would find
// another winmm first (here a DLL directory holding a planted one).
TEST(DllSearch, TheDesktopTakesTheTimerResolutionFromTheSystemFoldersWinmm)
{
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring planted = std::wstring(temp) + L"vexo_planted_winmm\\";
    ::CreateDirectoryW(planted.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + kBesideTheProgram).c_str(), (planted + L"winmm.dll").c_str(), FALSE));
    ASSERT_EQ(nullptr, ::GetModuleHandleW(L"winmm.dll")) << "loaded before the test";
    ::SetDllDirectoryW(planted.c_str());

    CWin32Desktop desktop;
    EXPECT_EQ(static_cast<MMRESULT>(TIMERR_NOERROR), desktop.TimeBeginPeriod(1));
    EXPECT_EQ(static_cast<MMRESULT>(TIMERR_NOERROR), desktop.TimeEndPeriod(1));
    const HMODULE winmm = ::GetModuleHandleW(L"winmm.dll");
    ASSERT_NE(nullptr, winmm);
    EXPECT_TRUE(InSystemFolder(PathOf(winmm))) << PathOf(winmm).c_str();
    ::SetDllDirectoryW(nullptr);
    ::DeleteFileW((planted + L"winmm.dll").c_str());
    ::RemoveDirectoryW(planted.c_str());
}
