#include <windows.h>

#include "common/Png.h"
#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/PanelProbe.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

PanelMeasures g_measures;
bool g_answered;

LRESULT CALLBACK ReceiveAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return ::DefWindowProcW(window, message, wParam, lParam);
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data->cbData != sizeof g_measures)
        return FALSE;
    std::memcpy(&g_measures, data->lpData, sizeof g_measures);
    g_answered = true;
    return TRUE;
}

// Asks the probe inside the panel's process and waits for its answer.
bool AskProbe(HWND panel)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ReceiveAnswer;
    windowClass.lpszClassName = L"vexo_probe_answer";
    ::RegisterClassW(&windowClass);
    const HWND receiver = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            nullptr, nullptr);
    const HHOOK hook = InstallPanelProbe(::GetWindowThreadProcessId(panel, nullptr));
    g_answered = false;
    ::PostMessageW(panel, ::RegisterWindowMessageW(kPanelProbeMessage), reinterpret_cast<WPARAM>(receiver), 0);
    const bool answered = hook && WaitUntil([] { return g_answered; });
    ::UnhookWindowsHookEx(hook);
    ::DestroyWindow(receiver);
    return answered;
}

// The size of the picture's master, as the copy holds it.
SIZE MasterSize(const ClickerCopy& copy)
{
    const HMODULE exe = ::LoadLibraryExW(Wide(copy.ExePath()).c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    const CPixels master = exe ? LoadPngResource(exe, MAKEINTRESOURCEW(IDB_PICTURE), RT_RCDATA) : CPixels();
    if (exe)
        ::FreeLibrary(exe);
    return {master.width, master.height};
}

::testing::AssertionResult SameSize(SIZE expected, SIZE actual)
{
    if (expected.cx == actual.cx && expected.cy == actual.cy)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.cx << " x " << actual.cy << " instead of " << expected.cx << " x "
                                         << expected.cy;
}

} // namespace

// At the scale of the prefix it runs in (the test command runs it at 96, 144
// and 192 DPI, and names the scale in VEXO_EXPECTED_DPI): the window's icons
// are images made for the sizes the system asks for, and the picture fills
// its control, to the pixel, in its own proportions. How its pixels are made
// from the master is checked in-process.
TEST(E2EScale, PictureFillsItsFrameAndIconsComeAtTheSystemSizes)
{
    ClickerCopy copy;
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    ASSERT_TRUE(AskProbe(program.Panel())) << "no answer from the probe";
    const PanelMeasures m = g_measures;
    std::printf("at %d DPI: picture %ld x %ld in %ld x %ld, %.1f %% of the panel's %ld pixels\n", m.dpi, m.picture.cx,
                m.picture.cy, m.pictureBox.cx, m.pictureBox.cy, 100.0 * m.picture.cx / m.panelWidth, m.panelWidth);
    if (const char* expected = std::getenv("VEXO_EXPECTED_DPI")) {
        EXPECT_EQ(std::atoi(expected), m.dpi) << "the prefix does not run at the scale asked for";
    }

    EXPECT_TRUE(SameSize(m.smallIconMetrics, m.smallIcon)) << "small icon";
    EXPECT_TRUE(SameSize(m.bigIconMetrics, m.bigIcon)) << "big icon";

    const SIZE master = MasterSize(copy);
    ASSERT_GT(master.cx, 0) << "cannot read the picture's master";
    EXPECT_TRUE(m.picture.cx <= m.pictureBox.cx && m.picture.cy <= m.pictureBox.cy) << "clipped";
    EXPECT_TRUE(m.picture.cx == m.pictureBox.cx || m.picture.cy == m.pictureBox.cy) << "smaller than its frame";
    EXPECT_LE(std::labs(m.picture.cx * master.cy - m.picture.cy * master.cx), master.cx) << "out of proportion";
    EXPECT_TRUE(program.Close());
}
