#include "panel/ClickerDlg.h"

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
void CClickerDlg::ShowPicture()
{
    const HWND control = GetDlgItem(IDC_PICTURE);
    RECT client = {};
    if (!control || !::GetClientRect(control, &client))
        return;
    const CPixels master = LoadPngResource(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PICTURE), RT_RCDATA);
    const SIZE size = FitInside({master.width, master.height}, {client.right, client.bottom});
    m_picture.Reset(CreateBitmapOf(ScaleArea(master, size.cx, size.cy)));
    if (m_picture.Get())
        ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_picture.Get()));
}
