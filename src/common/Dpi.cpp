#include "common/Dpi.h"

SIZE MetricsSize(int widthMetric, int heightMetric)
{
    return {::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric)};
}

HICON LoadIconOfSize(HMODULE module, UINT id, SIZE size)
{
    // Unshared: the shared copy of a resource is kept for the standard size
    // that LoadIcon asks for; this image has its own owner and size.
    return static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size.cx, size.cy, LR_DEFAULTCOLOR));
}
