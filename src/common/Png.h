#pragma once
#include <windows.h>

#include "common/Pixels.h"

// A PNG's bytes decoded with WIC; empty on failure.
CPixels DecodePng(const BYTE* bytes, DWORD size);

// A PNG held in the module's resources, decoded the same way.
CPixels LoadPngResource(HMODULE module, LPCWSTR name, LPCWSTR type);
