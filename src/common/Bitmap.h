#pragma once
#include <windows.h>

#include "common/Pixels.h"

// A 24-bit bitmap of the pixels (no alpha, so a static control shows this
// very bitmap rather than a copy of its own), or nullptr.
HBITMAP CreateBitmapOf(const CPixels& picture);
