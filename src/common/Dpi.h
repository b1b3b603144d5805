#pragma once
#include <windows.h>

// Sizes that follow the display scale, all asked for here: a window that
// moves to a monitor of another scale asks again, with that monitor's.

// The size two system metrics give at the current scale, e.g. SM_CXSMICON
// and SM_CYSMICON for the caption's and the tray's icon.
SIZE MetricsSize(int widthMetric, int heightMetric);

// The module's icon resource in the image made for that size, so that
// Windows need not shrink another image; the caller owns it.
HICON LoadIconOfSize(HMODULE module, UINT id, SIZE size);
