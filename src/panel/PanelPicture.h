#pragma once
#include <windows.h>

// The panel's picture as a bitmap for the picture control, or nullptr where
// there is no control or the bitmap cannot be made. The caller owns it: the
// control does not.
HBITMAP MakePanelPicture(HWND control);
