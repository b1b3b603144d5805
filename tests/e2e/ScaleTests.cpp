#include <windows.h>

#include "common/Png.h"
#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/IconMeasures.h"
#include "support/PanelProbe.h"
#include "support/RemoteWindow.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

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
void ExpectArtFor(const ProbeAnswer& answer, const CPixels& master)
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
// per-monitor program: the art is made for the scale the panel is at, the
// About box's too as it opens. With the program's process at hand, the probe
// also sees its DLL search restricted: a DLL beside it is not found by name.
TEST(E2EScale, PictureFillsItsFrameAndIconsComeAtTheSizesOfTheScaleAtStartAndAfterAChange)
{
    ClickerCopy copy("", nullptr, false, TestProgramFolder()); // beside kBesideTheProgram
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    const CPixels master = Master(copy);
    ASSERT_FALSE(master.IsEmpty()) << "cannot read the picture's master";

    ::PostMessageW(program.Panel(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND about = program.WaitForDialog(Texts::kAboutCaption);
    ProbeAnswer answer;
    ASSERT_TRUE(AskProbe(program.Panel(), answer)) << "no answer from the probe";
    PostClick(about, IDOK);
    const PanelMeasures& m = answer.measures;
    EXPECT_FALSE(m.besideFound) << "a DLL beside the program is found by name";
    const int startDpi = m.dpi;
    if (const char* expected = std::getenv("VEXO_EXPECTED_DPI")) {
        EXPECT_EQ(std::atoi(expected), startDpi) << "the prefix does not run at the scale asked for";
    }
    {
        SCOPED_TRACE("at start-up");
        ExpectArtFor(answer, master);
        EXPECT_TRUE(m.bigIconMetrics == m.aboutIcon) << "About box's icon " << m.aboutIcon.cx << " x " << m.aboutIcon.cy;
    }

    const int newDpi = startDpi >= 192 ? 96 : startDpi + 48;
    const LONG oldBoxWidth = m.pictureBox.cx;
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));
    ASSERT_TRUE(AskProbe(program.Panel(), answer, newDpi)) << "no answer from the probe after the change";
    ASSERT_EQ(newDpi, m.dpi);
    EXPECT_NE(oldBoxWidth, m.pictureBox.cx) << "the test did not resize the picture's control";
    {
        SCOPED_TRACE("after moving to " + std::to_string(newDpi) + " DPI");
        ExpectArtFor(answer, master);
    }
    EXPECT_TRUE(program.Close());
}
