#pragma once
#include <windows.h>

// Sizes that follow the display scale. A per-monitor program is told of a
// new scale when its window reaches a screen of another scale, and asks for
// the sizes at that scale; Windows 10 before 1607, 8.1 and 7 know one
// scale, the system's, which is then every window's.

// The scale of the screen the window is on, in dots per inch (96 at 100 %).
UINT DpiOfWindow(HWND window);

// The size two system metrics give at that scale, e.g. SM_CXSMICON and
// SM_CYSMICON for the caption's and the tray's icon.
SIZE MetricsSizeForDpi(int widthMetric, int heightMetric, UINT dpi);

// The module's icon resource in the image made for that size, so that
// Windows need not shrink another image; the caller owns it.
HICON LoadIconOfSize(HMODULE module, UINT id, SIZE size);
