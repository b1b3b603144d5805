#pragma once
#include <windows.h>

// Sizes that follow the display scale. A per-monitor program is told of a
// new scale when its window reaches a screen of another scale, and asks for
// the sizes at that scale; Windows 10 before 1607, 8.1 and 7 know one
// scale, the system's, which is then every window's.

// The scale of the screen the window is on, in dots per inch (96 at 100 %).
UINT DpiOfWindow(HWND window);

// The system metrics of an icon's width and height.
struct IconMetrics {
    int width, height;
};
constexpr IconMetrics kBigIconMetrics = {SM_CXICON, SM_CYICON};
constexpr IconMetrics kSmallIconMetrics = {SM_CXSMICON, SM_CYSMICON}; // the caption's and the tray's

// The module's icon resource in the image made for the size those metrics
// give at that scale, so that Windows need not shrink another image; the
// caller owns it.
HICON LoadIconForDpi(HMODULE module, UINT id, IconMetrics metrics, UINT dpi);
