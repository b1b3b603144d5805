#pragma once
#include <windows.h>

// What the panel probe reads inside the program's own process, the one
// place where a window's icons and a control's bitmap can be read: Wine
// answers WM_GETICON from another process with nothing, and a bitmap handle
// means nothing outside its process. The probe is a DLL hooked into the
// program's thread; asked with kPanelProbeMessage posted to the panel
// (wParam: the window to answer), it sends the measures back by WM_COPYDATA.

struct PanelMeasures {
    int dpi;
    SIZE smallIconMetrics, bigIconMetrics; // SM_CXSMICON/SM_CYSMICON, SM_CXICON/SM_CYICON
    SIZE smallIcon, bigIcon;               // the panel's ICON_SMALL and ICON_BIG images
    SIZE pictureBox;                       // the picture control's client area
    SIZE picture;                          // the bitmap it shows
    LONG panelWidth;                       // the panel window, frame included
};

constexpr wchar_t kPanelProbeMessage[] = L"vexo-panel-probe";

// Hooks the probe into that thread of another process; unhook when done.
extern "C" __declspec(dllexport) HHOOK InstallPanelProbe(DWORD threadId);
