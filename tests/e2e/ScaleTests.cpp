#include <windows.h>

#include "support/ClickerProcess.h"
#include "support/PanelProbe.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The picture's proportions: its master is 482 x 178.
constexpr LONG kPictureWidth = 482;
constexpr LONG kPictureHeight = 178;

PanelMeasures g_measures;
bool g_measured;

LRESULT CALLBACK ReceiveMeasures(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (message != WM_COPYDATA || data->cbData != sizeof g_measures)
        return ::DefWindowProcW(window, message, wParam, lParam);
    std::memcpy(&g_measures, data->lpData, sizeof g_measures);
    g_measured = true;
    return TRUE;
}

// The panel's measures as its own process sees them, through the probe.
bool MeasurePanel(HWND panel, PanelMeasures& measures)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ReceiveMeasures;
    windowClass.lpszClassName = L"vexo_measures";
    ::RegisterClassW(&windowClass);
    const HWND receiver = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            nullptr, nullptr);
    const HHOOK hook = InstallPanelProbe(::GetWindowThreadProcessId(panel, nullptr));
    g_measured = false;
    ::PostMessageW(panel, ::RegisterWindowMessageW(kPanelProbeMessage), reinterpret_cast<WPARAM>(receiver), 0);
    const bool measured = hook && WaitUntil([] { return g_measured; });
    ::UnhookWindowsHookEx(hook);
    ::DestroyWindow(receiver);
    measures = g_measures;
    return measured;
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
// its control, to the pixel, in its own proportions.
TEST(E2EScale, PictureFillsItsFrameAndIconsComeAtTheSystemSizes)
{
    ClickerCopy copy;
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    PanelMeasures m = {};
    ASSERT_TRUE(MeasurePanel(program.Panel(), m)) << "no answer from the probe";
    std::printf("at %d DPI: picture %ld x %ld in %ld x %ld, %.1f %% of the panel's %ld pixels\n", m.dpi, m.picture.cx,
                m.picture.cy, m.pictureBox.cx, m.pictureBox.cy, 100.0 * m.picture.cx / m.panelWidth, m.panelWidth);
    if (const char* expected = std::getenv("VEXO_EXPECTED_DPI")) {
        EXPECT_EQ(std::atoi(expected), m.dpi) << "the prefix does not run at the scale asked for";
    }

    EXPECT_TRUE(SameSize(m.smallIconMetrics, m.smallIcon)) << "small icon";
    EXPECT_TRUE(SameSize(m.bigIconMetrics, m.bigIcon)) << "big icon";

    EXPECT_TRUE(m.picture.cx <= m.pictureBox.cx && m.picture.cy <= m.pictureBox.cy) << "clipped";
    EXPECT_TRUE(m.picture.cx == m.pictureBox.cx || m.picture.cy == m.pictureBox.cy) << "smaller than its frame";
    EXPECT_LE(std::labs(m.picture.cx * kPictureHeight - m.picture.cy * kPictureWidth), kPictureWidth)
        << "out of proportion";
    EXPECT_TRUE(program.Close());
}
