#pragma once
#include <windows.h>

// A resource's bytes in a module, or an empty range when it has none such.
struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};
ResourceBytes FindResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type);
