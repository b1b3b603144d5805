#pragma once
#include <windows.h>

// What the panel probe reads inside the program's own process, the one
// place where a window's icons and a control's bitmap can be read: Wine
// answers WM_GETICON from another process with nothing, and a bitmap handle
// means nothing outside its process. The probe is a DLL hooked into the
// program's thread; asked with kPanelProbeMessage posted to the panel
// (wParam: the window to answer; lParam: 0, or a scale to move the panel to
// first), it sends back by WM_COPYDATA the measures, then the picture's
// pixels, rows from the top, one 0x00RRGGBB value each.
//
// Moving to another scale is what Windows does when the panel reaches a
// screen of that scale, as far as Wine lets a test do it: the panel gets
// WM_DPICHANGED with the suggested rectangle, then the panel and the
// picture's control grow in proportion, as the dialog manager lays them out
// again once the panel has handled the message.

struct PanelMeasures {
    int dpi;                               // the screen's, or the scale last moved to
    SIZE smallIconMetrics, bigIconMetrics; // SM_CXSMICON/SM_CYSMICON, SM_CXICON/SM_CYICON at that scale
    SIZE smallIcon, bigIcon;               // the panel's ICON_SMALL and ICON_BIG images
    SIZE pictureBox;                       // the picture control's client area
    SIZE picture;                          // the bitmap it shows, whose pixels follow
    LONG panelWidth;                       // the panel window, frame included
};

constexpr wchar_t kPanelProbeMessage[] = L"vexo-panel-probe";

// Hooks the probe into that thread of another process; unhook when done.
extern "C" __declspec(dllexport) HHOOK InstallPanelProbe(DWORD threadId);
