#pragma once
#include <windows.h>

#include "common/Pixels.h"

// A PNG held in the module's resources, decoded with WIC; empty on failure.
CPixels LoadPngResource(HMODULE module, LPCWSTR name, LPCWSTR type);
