#include <windows.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/DesktopInput.h"
#include "support/PanelProbe.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// DLLs that the program or Windows' own DLLs load by name after the
// program's first instruction, as seen under Wine (WINEDEBUG=+loaddll) and as
// loader hardening elsewhere lists them. Left out: what Wine loads before
// that, the program's imports and theirs (kernel32, user32, gdi32, shell32,
// ole32, msvcrt and Wine's version, imm32, shcore, advapi32, sechost,
// rpcrt4, combase, shlwapi, ucrtbase, win32u), which no program can reach
// and which on Windows are known DLLs, never taken from the program's folder.
const char* const kPlantedNames[] = {
    "winmm",   "uxtheme",  "dwmapi",  "cryptbase", "propsys", "oleacc",  "windowscodecs", "msimg32", "userenv",
    "setupapi", "apphelp", "clbcatq", "profapi",   "wintrust", "msctf",  "msacm32",       "oleaut32", "comctl32",
};

// Wine takes a DLL it has a copy of from its own folder unless told to look
// for a native one first, which is what Windows does for every DLL that is
// not a known one. Told per program, in the registry where winecfg keeps it.
class NativeFirst {
public:
    explicit NativeFirst(const std::string& program)
        : m_key(L"Software\\Wine\\AppDefaults\\" + Wide(program) + L"\\DllOverrides")
    {
        const wchar_t order[] = L"native,builtin";
        for (const char* name : kPlantedNames)
            EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeyValueW(HKEY_CURRENT_USER, m_key.c_str(), Wide(name).c_str(), REG_SZ,
                                                       order, sizeof order));
    }
    ~NativeFirst() { ::RegDeleteKeyW(HKEY_CURRENT_USER, m_key.c_str()); }

private:
    std::wstring m_key;
};

// A folder like a Downloads folder that a web page has written DLLs into: the
// test DLL under each name, which leaves "<dll>.<process>.loaded" beside
// itself when a process loads it, and under its own, kBesideTheProgram.
struct PlantedFolder {
    PlantedFolder()
    {
        fs::remove_all(path);
        fs::create_directories(path);
        fs::copy_file(built / kBesideTheProgram, path / kBesideTheProgram);
        for (const char* name : kPlantedNames)
            fs::copy_file(built / kBesideTheProgram, path / (std::string(name) + ".dll"));
    }
    ~PlantedFolder() { fs::remove_all(path); }

    std::vector<std::string> Markers(const std::string& process) const
    {
        std::vector<std::string> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
            const std::string name = Utf8(entry.path().filename().wstring()), suffix = "." + process + ".loaded";
            if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                found.push_back(name);
        }
        return found;
    }

    // The control: a program without defences, started from the folder, that
    // loads every name; the number it could not load.
    DWORD RunControl() const
    {
        fs::copy_file(built / "vexo_planted_host.exe", path / "vexo_planted_host.exe");
        const NativeFirst overrides("vexo_planted_host.exe");
        std::wstring commandLine = L"vexo_planted_host.exe";
        for (const char* name : kPlantedNames)
            commandLine += L" " + Wide(name) + L".dll";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        DWORD missing = MAXDWORD;
        if (::CreateProcessW((path / "vexo_planted_host.exe").c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                             nullptr, path.c_str(), &startup, &info)) {
            WaitUntil([&] { return ::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; });
            ::GetExitCodeProcess(info.hProcess, &missing);
            ::CloseHandle(info.hThread);
            ::CloseHandle(info.hProcess);
        }
        return missing;
    }

    fs::path built = Wide(TestProgramFolder());
    fs::path path = fs::temp_directory_path() / "vexo_planted";
};

// The copy made to run as on a Windows 7 without KB2533623: the name it looks
// SetDefaultDllDirectories up by, changed in its bytes, finds nothing.
bool LoseSetDefaultDllDirectories(const ClickerCopy& copy)
{
    std::fstream file(Wide(copy.ExePath()).c_str(), std::ios::in | std::ios::out | std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::string name("SetDefaultDllDirectories", sizeof "SetDefaultDllDirectories"); // and its zero
    const size_t at = bytes.find(name);
    if (at == std::string::npos || bytes.find(name, at + 1) != std::string::npos)
        return false;
    file.seekp(static_cast<std::streamoff>(at)).put('X');
    return file.good();
}

} // namespace

// Started from a folder holding a DLL under the name of every DLL that it or
// Windows might load by name, with Wine told to prefer those as Windows
// would, and where it cannot restrict its DLL search, so that only its
// weaker defence, the DLLs loaded first from the system folder, holds, the
// program goes through start-up, a second copy that brings it
// back from the tray, the About box and the tray again, where it goes on
// clicking (the timer resolution's DLL comes in) and whose menu shows the
// panel again or ends it, as it does anywhere, and loads none of them.
TEST(E2EPlanted, ProgramStartedBesidePlantedDllsWorksAndLoadsNone)
{
    ForgetPastPresses();
    ClickTarget target; // keeps this session's desktop up, as a user's is
    PlantedFolder folder;
    ASSERT_EQ(0u, folder.RunControl()) << "the planted DLLs are not what a load by name finds";
    EXPECT_EQ(std::size(kPlantedNames), folder.Markers("vexo_planted_host.exe").size());

    ClickerCopy copy("", kFastSettings, false, Utf8(folder.path.wstring()) + "\\");
    ASSERT_TRUE(LoseSetDefaultDllDirectories(copy));
    const NativeFirst overrides(copy.Name() + ".exe");
    {
        ClickerProcess program(copy);
        ASSERT_TRUE(program.WaitForPanel());
        ProbeAnswer answer;
        ASSERT_TRUE(AskProbe(program.Panel(), answer));
        EXPECT_TRUE(answer.measures.besideFound) << "the DLL search was restricted all the same";
        HideToTray(program);
        {
            ClickerProcess second(copy);
            ExpectSecondCopyReportsAndEnds(second);
        }
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(program.Panel()) != FALSE; }));
        ::PostMessageW(program.Panel(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        const HWND about = program.WaitForDialog(Texts::kAboutCaption);
        ASSERT_TRUE(about);
        PostClick(about, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));

        HideToTray(program);
        Tap(VK_F2);
        EXPECT_TRUE(WaitUntil([&] { return target.clicks >= 10; }));
        Tap(VK_F3);
        EXPECT_TRUE(WaitUntilSettled([&] { return target.clicks; }));

        ChooseFromTrayMenu(program, 1);
        EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(program.Panel()) != FALSE; }));

        HideToTray(program);
        ChooseFromTrayMenu(program, 2);
        ASSERT_TRUE(program.WaitForExit());
        EXPECT_EQ(0u, program.ExitCode());
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 10, 1, 1}), copy.SavedSettings());
    EXPECT_EQ(std::vector<std::string>(), folder.Markers(copy.Name() + ".exe")) << "loaded from the program's folder";
}
