#pragma once
#include <windows.h>

#include "common/Pixels.h"

// What the panel probe reads inside the program's own process, the one
// place where a window's icons and a control's bitmap can be read: Wine
// answers WM_GETICON from another process with nothing, and a bitmap handle
// means nothing outside its process. The probe is a DLL hooked into the
// program's thread; asked with kPanelProbeMessage posted to the panel
// (wParam: the window to answer; lParam: 0, or a scale to move the panel to
// first), it sends back by WM_COPYDATA the measures, then the picture's
// pixels, rows from the top, one 0x00RRGGBB value each. The measures say too
// whether a load by name finds kBesideTheProgram, which a test puts in the
// program's folder.
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
    SIZE aboutIcon;                        // the open About box's icon; 0 x 0 when none is open
    BOOL besideFound;                      // a load by name found kBesideTheProgram
};

constexpr wchar_t kBesideTheProgram[] = L"vexo_planted.dll";

constexpr wchar_t kPanelProbeMessage[] = L"vexo-panel-probe";

// Hooks the probe into that thread of another process; unhook when done.
extern "C" __declspec(dllexport) HHOOK InstallPanelProbe(DWORD threadId);

// In the end-to-end tests: asks the probe inside the panel's process, after
// moving the panel to another scale where one is given, and waits for its
// answer, the measures and the picture's pixels.
struct ProbeAnswer {
    PanelMeasures measures = {};
    CPixels picture;
};
bool AskProbe(HWND panel, ProbeAnswer& answer, int newDpi = 0);
