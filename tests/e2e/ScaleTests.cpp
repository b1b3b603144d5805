#include <windows.h>
#include <wincodec.h>

#include "resources/resource.h"
#include "support/ClickerProcess.h"
#include "support/PanelProbe.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A picture as the test sees it: rows from the top, 0x00RRGGBB per pixel.
struct Picture {
    LONG width = 0, height = 0;
    std::vector<UINT32> pixels;
    int Channel(LONG x, LONG y, int channel) const { return (pixels[y * width + x] >> (8 * channel)) & 0xFF; }
};

PanelMeasures g_measures;
Picture g_picture;
bool g_answered;

LRESULT CALLBACK ReceiveAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COPYDATA)
        return ::DefWindowProcW(window, message, wParam, lParam);
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    PicturePixelsHeader header = {};
    if (data->dwData == kProbeMeasures && data->cbData == sizeof g_measures) {
        std::memcpy(&g_measures, data->lpData, sizeof g_measures);
    } else if (data->dwData == kProbePicturePixels && data->cbData >= sizeof header) {
        std::memcpy(&header, data->lpData, sizeof header);
        g_picture.width = header.width, g_picture.height = header.height;
        g_picture.pixels.resize(static_cast<size_t>(header.width) * header.height);
        if (data->cbData != sizeof header + g_picture.pixels.size() * 4)
            return FALSE;
        std::memcpy(g_picture.pixels.data(), static_cast<const BYTE*>(data->lpData) + sizeof header, data->cbData - sizeof header);
    } else {
        return FALSE;
    }
    g_answered = true;
    return TRUE;
}

// Asks the probe inside the panel's process and waits for its answer.
bool AskProbe(HWND panel, PanelProbeRequest request)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ReceiveAnswer;
    windowClass.lpszClassName = L"vexo_probe_answer";
    ::RegisterClassW(&windowClass);
    const HWND receiver = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            nullptr, nullptr);
    const HHOOK hook = InstallPanelProbe(::GetWindowThreadProcessId(panel, nullptr));
    g_answered = false;
    ::PostMessageW(panel, ::RegisterWindowMessageW(kPanelProbeMessage), reinterpret_cast<WPARAM>(receiver), request);
    const bool answered = hook && WaitUntil([] { return g_answered; });
    ::UnhookWindowsHookEx(hook);
    ::DestroyWindow(receiver);
    return answered;
}

// The picture's master as the copy holds it, decoded by the test itself.
Picture Master(const ClickerCopy& copy)
{
    Picture master;
    const HMODULE exe = ::LoadLibraryExW(Wide(copy.ExePath()).c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    const HRSRC found = exe ? ::FindResourceW(exe, MAKEINTRESOURCEW(IDB_PICTURE), RT_RCDATA) : nullptr;
    const BYTE* png = found ? static_cast<const BYTE*>(::LockResource(::LoadResource(exe, found))) : nullptr;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT width = 0, height = 0;
    std::vector<BYTE> bgr;
    if (png && SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                            reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(png), ::SizeofResource(exe, found))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height))) {
        bgr.resize(static_cast<size_t>(width) * height * 3);
        if (SUCCEEDED(converter->CopyPixels(nullptr, width * 3, static_cast<UINT>(bgr.size()), bgr.data()))) {
            master.width = static_cast<LONG>(width), master.height = static_cast<LONG>(height);
            for (size_t i = 0; i < bgr.size(); i += 3)
                master.pixels.push_back(bgr[i] | bgr[i + 1] << 8 | bgr[i + 2] << 16);
        }
    }
    for (IUnknown* object : std::initializer_list<IUnknown*>{converter, frame, decoder, stream, factory})
        if (object)
            object->Release();
    ::CoUninitialize();
    if (exe)
        ::FreeLibrary(exe);
    return master;
}

// The simplest reduction there is: each pixel the plain mean of the whole
// master pixels its cell starts in, at least one.
Picture BoxScaled(const Picture& master, LONG width, LONG height)
{
    Picture scaled;
    scaled.width = width, scaled.height = height;
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x) {
            const LONG x0 = x * master.width / width, x1 = std::max(x0 + 1, (x + 1) * master.width / width);
            const LONG y0 = y * master.height / height, y1 = std::max(y0 + 1, (y + 1) * master.height / height);
            UINT32 pixel = 0;
            for (int channel = 0; channel < 3; ++channel) {
                long sum = 0;
                for (LONG v = y0; v < y1; ++v)
                    for (LONG u = x0; u < x1; ++u)
                        sum += master.Channel(u, v, channel);
                pixel |= static_cast<UINT32>(sum / ((x1 - x0) * (y1 - y0))) << (8 * channel);
            }
            scaled.pixels.push_back(pixel);
        }
    return scaled;
}

::testing::AssertionResult SameSize(SIZE expected, SIZE actual)
{
    if (expected.cx == actual.cx && expected.cy == actual.cy)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.cx << " x " << actual.cy << " instead of " << expected.cx << " x "
                                         << expected.cy;
}

// The mean difference per channel is a few levels for any fair reduction;
// a picture upside down, mirrored, in swapped channels or of the wrong part
// of the master is tens of levels off.
::testing::AssertionResult LooksLike(const Picture& expected, const Picture& actual)
{
    if (expected.width != actual.width || expected.height != actual.height || expected.pixels.empty())
        return ::testing::AssertionFailure() << "no picture of the size to compare";
    static const char* const kNames[] = {"blue", "green", "red"};
    double difference[3] = {};
    for (int channel = 0; channel < 3; ++channel) {
        for (LONG y = 0; y < actual.height; ++y)
            for (LONG x = 0; x < actual.width; ++x)
                difference[channel] += std::abs(expected.Channel(x, y, channel) - actual.Channel(x, y, channel));
        difference[channel] /= static_cast<double>(actual.pixels.size());
    }
    std::printf("mean difference from the master, levels: blue %.2f, green %.2f, red %.2f\n", difference[0],
                difference[1], difference[2]);
    for (int channel = 0; channel < 3; ++channel)
        if (difference[channel] > 6.0)
            return ::testing::AssertionFailure() << kNames[channel] << " differs from the master's by "
                                                 << difference[channel] << " levels on average";
    return ::testing::AssertionSuccess();
}

} // namespace

// At the scale of the prefix it runs in (the test command runs it at 96, 144
// and 192 DPI, and names the scale in VEXO_EXPECTED_DPI): the window's icons
// are images made for the sizes the system asks for, and the picture fills
// its control, to the pixel, in its own proportions, and shows the master.
TEST(E2EScale, PictureFillsItsFrameAndIconsComeAtTheSystemSizes)
{
    ClickerCopy copy;
    ClickerProcess program(copy);
    ASSERT_TRUE(program.WaitForPanel());
    ASSERT_TRUE(AskProbe(program.Panel(), kProbeMeasures)) << "no answer from the probe";
    const PanelMeasures m = g_measures;
    std::printf("at %d DPI: picture %ld x %ld in %ld x %ld, %.1f %% of the panel's %ld pixels\n", m.dpi, m.picture.cx,
                m.picture.cy, m.pictureBox.cx, m.pictureBox.cy, 100.0 * m.picture.cx / m.panelWidth, m.panelWidth);
    if (const char* expected = std::getenv("VEXO_EXPECTED_DPI")) {
        EXPECT_EQ(std::atoi(expected), m.dpi) << "the prefix does not run at the scale asked for";
    }

    EXPECT_TRUE(SameSize(m.smallIconMetrics, m.smallIcon)) << "small icon";
    EXPECT_TRUE(SameSize(m.bigIconMetrics, m.bigIcon)) << "big icon";

    const Picture master = Master(copy);
    ASSERT_FALSE(master.pixels.empty()) << "cannot read the picture's master";
    EXPECT_TRUE(m.picture.cx <= m.pictureBox.cx && m.picture.cy <= m.pictureBox.cy) << "clipped";
    EXPECT_TRUE(m.picture.cx == m.pictureBox.cx || m.picture.cy == m.pictureBox.cy) << "smaller than its frame";
    EXPECT_LE(std::labs(m.picture.cx * master.height - m.picture.cy * master.width), master.width)
        << "out of proportion";
    ASSERT_TRUE(AskProbe(program.Panel(), kProbePicturePixels)) << "no pixels from the probe";
    EXPECT_TRUE(LooksLike(BoxScaled(master, g_picture.width, g_picture.height), g_picture));
    EXPECT_TRUE(program.Close());
}
