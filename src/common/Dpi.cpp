#include "common/Dpi.h"

#include "common/DynamicCalls.h"

namespace {

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
    const auto dpiForWindow = DynamicCalls::GetDpiForWindow;
    const UINT dpi = dpiForWindow && window ? dpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

HICON LoadIconForDpi(HMODULE module, UINT id, IconMetrics metrics, UINT dpi)
{
    const auto metricsForDpi = DynamicCalls::GetSystemMetricsForDpi;
    // Where the function is missing the system's scale is the only one.
    const SIZE size = metricsForDpi ? SIZE{metricsForDpi(metrics.width, dpi), metricsForDpi(metrics.height, dpi)}
                                    : SIZE{::GetSystemMetrics(metrics.width), ::GetSystemMetrics(metrics.height)};
    // Unshared: the shared copy of a resource is kept for the standard size
    // that LoadIcon asks for; this image has its own owner and size.
    return static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size.cx, size.cy, LR_DEFAULTCOLOR));
}
