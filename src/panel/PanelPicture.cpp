#include "panel/PanelPicture.h"

#include "common/Bitmap.h"
#include "common/Png.h"
#include "resources/resource.h"

// The picture is made for the size its control has, when the panel opens and
// again once it has been laid out for another scale: the control grows with
// the dialog's font at the panel's scale (and with the font's own metrics),
// and Windows does not stretch the bitmap of a DPI-aware program.
// It is scaled from a master twice its size at 100 % to the largest size of
// its proportions that fits inside the control's sunken edge (larger than
// the master in a control larger than it); the control centres it.
HBITMAP MakePanelPicture(HWND control)
{
    RECT client = {};
    if (!control || !::GetClientRect(control, &client))
        return nullptr;
    const CPixels master = LoadPngResource(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PICTURE), RT_RCDATA);
    const SIZE size = FitInside({master.width, master.height}, {client.right, client.bottom});
    return CreateBitmapOf(ScaleArea(master, size.cx, size.cy));
}
