#include "support/RecordingDesktop.h"

#include <gtest/gtest.h>

// The real desktop reads this process's own windows as its own program, at
// its own level (its path: E2EText), a window gone as no program's, and a
// window of the class "Ghost" as Windows' stand-in for another's.
TEST(Win32Desktop, ReadsTheProgramOfAWindow)
{
    CWin32Desktop desktop;
    const OtherWindow window(L"mine");
    const WindowProgram program = desktop.GetWindowProgram(window.top);
    EXPECT_EQ(desktop.GetOwnIntegrityLevel(), program.level);
    EXPECT_EQ(::GetCurrentProcessId(), program.processId);
    EXPECT_FALSE(program.ghost);
    ::DestroyWindow(window.top);
    EXPECT_EQ(0u, desktop.GetWindowProgram(window.top).processId);

    WNDCLASSW ghostClass = {};
    ghostClass.lpfnWndProc = ::DefWindowProcW;
    ghostClass.lpszClassName = L"Ghost";
    ::RegisterClassW(&ghostClass);
    const HWND ghost = ::CreateWindowExW(0, L"Ghost", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(desktop.GetWindowProgram(ghost).ghost);
    ::DestroyWindow(ghost);
}
