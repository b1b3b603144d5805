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

HICON LoadIconForDpi(HMODULE module, UINT id, IconMetrics metrics, UINT dpi)
{
    const MetricsForDpiFunction metricsForDpi =
        FindFunction<MetricsForDpiFunction>(User32(), "GetSystemMetricsForDpi");
    // Where the function is missing the system's scale is the only one.
    const SIZE size = metricsForDpi ? SIZE{metricsForDpi(metrics.width, dpi), metricsForDpi(metrics.height, dpi)}
                                    : SIZE{::GetSystemMetrics(metrics.width), ::GetSystemMetrics(metrics.height)};
    // Unshared: the shared copy of a resource is kept for the standard size
    // that LoadIcon asks for; this image has its own owner and size.
    return static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size.cx, size.cy, LR_DEFAULTCOLOR));
}
