#pragma once
#include <windows.h>

#include "common/DynamicCalls.h"

// Sizes as a test reads them, in the program's process or its own.

inline SIZE BitmapSizeOf(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

inline SIZE IconSizeOf(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return {0, 0};
    const SIZE size = BitmapSizeOf(info.hbmColor); // the program's icons are all in colour
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return size;
}

// Two metrics at any scale, as Windows 10 1607 and later give them.
inline SIZE MetricsAt(int widthMetric, int heightMetric, int dpi)
{
    static const auto forDpi =
        FindFunction<int(WINAPI*)(int, UINT)>(::GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
    if (!forDpi)
        return {::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric)};
    return {forDpi(widthMetric, static_cast<UINT>(dpi)), forDpi(heightMetric, static_cast<UINT>(dpi))};
}

inline bool operator==(SIZE a, SIZE b)
{
    return a.cx == b.cx && a.cy == b.cy;
}
