#include <windows.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <list>
#include <memory>

// The class of an older release's window, as another program may show it.
TEST(E2EStartup, LegacyWindowIsRestoredAndStartUpEndsWithoutAnyWindow)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.lpszClassName = "VEXO V1.0";
    ::RegisterClassA(&windowClass);
    const std::unique_ptr<HWND__, decltype(&::DestroyWindow)> legacy(
        ::CreateWindowExA(0, windowClass.lpszClassName, "legacy", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                          nullptr, nullptr, nullptr),
        &::DestroyWindow);
    ASSERT_TRUE(legacy);
    ::ShowWindow(legacy.get(), SW_MINIMIZE);
    ClickerCopy copy;
    ClickerProcess program(copy);
    bool sawDialog = false;
    ASSERT_TRUE(WaitUntil([&] {
        sawDialog = sawDialog || FindDialog(program.Id());
        return !program.IsRunning();
    }));
    EXPECT_FALSE(sawDialog);
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_TRUE(::IsWindowVisible(legacy.get()));
    EXPECT_FALSE(::IsIconic(legacy.get()));
    // The panel never ran, so nothing was saved.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(Wide(copy.SettingsPath()).c_str()));
}

TEST(E2EPanel, EveryWayOfClosingEndsTheProgramAndSavesTheListsAsTheyStand)
{
    struct Way {
        const char* name;
        void (*close)(HWND panel);
    };
    const Way ways[] = {
        {"caption_close", [](HWND panel) { ::PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"close_request", [](HWND panel) { ::PostMessageW(panel, WM_CLOSE, 0, 0); }},
        {"escape_key", [](HWND panel) { PostKey(panel, VK_ESCAPE); }},
        {"enter_key", [](HWND panel) { PostKey(panel, VK_RETURN); }},
    };
    // Side by side: each run has its own name and so its own file.
    std::list<ClickerRun> runs;
    for (const Way& way : ways)
        runs.emplace_back(way.name, nullptr);
    int startKey = 4;
    for (ClickerRun& run : runs) {
        ASSERT_TRUE(run.process.WaitForPanel());
        // Set without notifying the panel: what counts is what is saved.
        Ask(run.process.Control(IDC_START_KEY), CB_SETCURSEL, startKey++);
        Ask(run.process.Control(IDC_TOGGLE_KEY), CB_SETCURSEL, static_cast<WPARAM>(-1));
    }
    const Way* way = ways;
    for (ClickerRun& run : runs)
        (way++)->close(run.process.Panel());
    startKey = 4;
    for (ClickerRun& run : runs) {
        SCOPED_TRACE(run.copy.Name());
        ASSERT_TRUE(run.process.WaitForExit());
        EXPECT_EQ(0u, run.process.ExitCode());
        EXPECT_EQ((std::vector<int>{startKey++, 2, -1, 150, 1, 1}), run.copy.SavedSettings()) << run.copy.SettingsText();
    }
}
