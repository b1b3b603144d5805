#include "common/Dpi.h"

#include "common/SystemLibrary.h"

namespace {

// Windows 10 1607 and later; looked up, since Windows 7 lacks them.
using DpiForWindowFunction = UINT(WINAPI*)(HWND);
using MetricsForDpiFunction = int(WINAPI*)(int, UINT);

HMODULE User32()
{
    return ::GetModuleHandleW(L"user32.dll");
}

UINT SystemDpi()
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

UINT DpiOfWindow(HWND window)
{
    // Looked up on each call, which is rare: at start-up and on a change.
    const DpiForWindowFunction dpiForWindow = FindFunction<DpiForWindowFunction>(User32(), "GetDpiForWindow");
    const UINT dpi = dpiForWindow && window ? dpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

SIZE MetricsSizeForDpi(int widthMetric, int heightMetric, UINT dpi)
{
    const MetricsForDpiFunction metricsForDpi =
        FindFunction<MetricsForDpiFunction>(User32(), "GetSystemMetricsForDpi");
    if (metricsForDpi)
        return {metricsForDpi(widthMetric, dpi), metricsForDpi(heightMetric, dpi)};
    // Where the function is missing the system's scale is the only one.
    return {::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric)};
}

HICON LoadIconOfSize(HMODULE module, UINT id, SIZE size)
{
    // Unshared: the shared copy of a resource is kept for the standard size
    // that LoadIcon asks for; this image has its own owner and size.
    return static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size.cx, size.cy, LR_DEFAULTCOLOR));
}
