#include <windows.h>

#include "common/Png.h"
#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/IconMeasures.h"
#include "support/PanelProbe.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The probe's answer: the measures and the picture's pixels.
struct Answer {
    PanelMeasures measures = {};
    CPixels picture;
};

Answer g_answer;
bool g_answered;

LRESULT CALLBACK ReceiveAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return ::DefWindowProcW(window, message, wParam, lParam);
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    PanelMeasures& m = g_answer.measures;
    if (data->cbData < sizeof m)
        return FALSE;
    std::memcpy(&m, data->lpData, sizeof m);
    if (!g_answer.picture.Allocate(m.picture.cx, m.picture.cy) ||
        data->cbData != sizeof m + g_answer.picture.pixels.Size() * 4)
        return FALSE;
    std::memcpy(g_answer.picture.pixels.Data(), static_cast<const BYTE*>(data->lpData) + sizeof m, data->cbData - sizeof m);
    g_answered = true;
    return TRUE;
}

// Asks the probe inside the panel's process, after moving the panel to
// another scale where one is given, and waits for its answer.
bool AskProbe(HWND panel, int newDpi = 0)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ReceiveAnswer;
    windowClass.lpszClassName = L"vexo_probe_answer";
    ::RegisterClassW(&windowClass);
    const HWND receiver = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            nullptr, nullptr);
    const HHOOK hook = InstallPanelProbe(::GetWindowThreadProcessId(panel, nullptr));
    g_answered = false;
    ::PostMessageW(panel, ::RegisterWindowMessageW(kPanelProbeMessage), reinterpret_cast<WPARAM>(receiver), newDpi);
    const bool answered = hook && WaitUntil([] { return g_answered; });
    ::UnhookWindowsHookEx(hook);
    ::DestroyWindow(receiver);
    return answered;
}

// The picture's master, as the copy holds it.
CPixels Master(const ClickerCopy& copy)
{
    const HMODULE exe = ::LoadLibraryExW(Wide(copy.ExePath()).c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    CPixels master = exe ? LoadPngResource(exe, MAKEINTRESOURCEW(IDB_PICTURE), RT_RCDATA) : CPixels();
    if (exe)
        ::FreeLibrary(exe);
    return master;
}

int Channel(const CPixels& picture, int x, int y, int channel)
{
    return ChannelOf(picture.pixels.Data()[y * picture.width + x], channel);
}

// The simplest reduction there is, independent of the program's: each pixel
// the plain mean of the whole master pixels its cell starts in, at least one.
// The mean difference per channel from it is a few levels for any fair
// reduction; a picture upside down, mirrored, in swapped channels or of the
// wrong part of the master is tens of levels off.
::testing::AssertionResult LooksLikeMaster(const CPixels& master, const CPixels& shown)
{
    if (shown.IsEmpty() || master.IsEmpty())
        return ::testing::AssertionFailure() << "no picture to compare";
    static const char* const kNames[] = {"blue", "green", "red"};
    double difference[3] = {};
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            const int x0 = x * master.width / shown.width, x1 = std::max(x0 + 1, (x + 1) * master.width / shown.width);
            const int y0 = y * master.height / shown.height,
                      y1 = std::max(y0 + 1, (y + 1) * master.height / shown.height);
            for (int channel = 0; channel < 3; ++channel) {
                long sum = 0;
                for (int v = y0; v < y1; ++v)
                    for (int u = x0; u < x1; ++u)
                        sum += Channel(master, u, v, channel);
                difference[channel] += std::abs(sum / ((x1 - x0) * (y1 - y0)) - Channel(shown, x, y, channel));
            }
        }
    for (double& channel : difference)
        channel /= static_cast<double>(shown.pixels.Size());
    std::printf("mean difference from the master, levels: blue %.2f, green %.2f, red %.2f\n", difference[0],
                difference[1], difference[2]);
    for (int channel = 0; channel < 3; ++channel)
        if (difference[channel] > 6.0)
            return ::testing::AssertionFailure() << kNames[channel] << " differs from the master's by "
                                                 << difference[channel] << " levels on average";
    return ::testing::AssertionSuccess();
}

// The window's icons are images made for the sizes of the scale it is at,
// and the picture fills its control, to the pixel, in its own proportions,
// and shows the master.
void ExpectArtFor(const Answer& answer, const CPixels& master)
{
    const PanelMeasures& m = answer.measures;
    std::printf("at %d DPI: picture %ld x %ld in %ld x %ld, %.1f %% of the panel's %ld pixels\n", m.dpi, m.picture.cx,
                m.picture.cy, m.pictureBox.cx, m.pictureBox.cy, 100.0 * m.picture.cx / m.panelWidth, m.panelWidth);
    EXPECT_TRUE(m.smallIconMetrics == m.smallIcon) << "small icon " << m.smallIcon.cx << " x " << m.smallIcon.cy;
    EXPECT_TRUE(m.bigIconMetrics == m.bigIcon) << "big icon " << m.bigIcon.cx << " x " << m.bigIcon.cy;
    EXPECT_TRUE(m.picture.cx <= m.pictureBox.cx && m.picture.cy <= m.pictureBox.cy) << "clipped";
    EXPECT_TRUE(m.picture.cx == m.pictureBox.cx || m.picture.cy == m.pictureBox.cy) << "smaller than its frame";
    EXPECT_LE(std::labs(m.picture.cx * master.height - m.picture.cy * master.width), master.width)
        << "out of proportion";
    EXPECT_TRUE(LooksLikeMaster(master, answer.picture));
}

} // namespace

// At the scale of the prefix it runs in (the test command runs it at 96, 144
// and 192 DPI, and names the scale in VEXO_EXPECTED_DPI), and again after
// the panel has moved to a screen of the next scale, as Windows tells a
// per-monitor program: the art is made for the scale the panel is at.
TEST(E2EScale, PictureFillsItsFrameAndIconsComeAtTheSizesOfTheScaleAtStartAndAfterAChange)
{
    ClickerCopy copy;
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    const CPixels master = Master(copy);
    ASSERT_FALSE(master.IsEmpty()) << "cannot read the picture's master";

    ASSERT_TRUE(AskProbe(program.Panel())) << "no answer from the probe";
    const int startDpi = g_answer.measures.dpi;
    if (const char* expected = std::getenv("VEXO_EXPECTED_DPI")) {
        EXPECT_EQ(std::atoi(expected), startDpi) << "the prefix does not run at the scale asked for";
    }
    {
        SCOPED_TRACE("at start-up");
        ExpectArtFor(g_answer, master);
    }

    const int newDpi = startDpi >= 192 ? 96 : startDpi + 48;
    const LONG oldBoxWidth = g_answer.measures.pictureBox.cx;
    ASSERT_TRUE(AskProbe(program.Panel(), newDpi)) << "no answer from the probe after the change";
    ASSERT_EQ(newDpi, g_answer.measures.dpi);
    EXPECT_NE(oldBoxWidth, g_answer.measures.pictureBox.cx) << "the test did not resize the picture's control";
    {
        SCOPED_TRACE("after moving to " + std::to_string(newDpi) + " DPI");
        ExpectArtFor(g_answer, master);
    }
    EXPECT_TRUE(program.Close());
}
