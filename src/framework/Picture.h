#pragma once
#include <windows.h>

#include "framework/HeapArray.h"

#include <cstdint>

// A picture in memory: rows from the top, one 0xAARRGGBB value per pixel,
// the layout of WIC's BGRA format and of GDI's 32-bit bitmaps.
struct CPixels {
    int width = 0;
    int height = 0;
    CHeapArray<std::uint32_t> pixels;
    bool IsEmpty() const { return pixels.Size() == 0; }
    // Room for width x height pixels, all zero; false when memory ran out.
    bool Allocate(int newWidth, int newHeight);
};

// The largest size with the picture's proportions that fits inside the box.
SIZE FitInside(SIZE picture, SIZE box);

// The picture resampled to width x height, each new pixel the average of the
// part of the old picture it covers: a reduction keeps thin lines and text
// smooth instead of dropping whole rows and columns.
CPixels ScaleArea(const CPixels& source, int width, int height);

// A PNG held in the module's resources, decoded with WIC; empty on failure.
CPixels LoadPngResource(HMODULE module, LPCWSTR name, LPCWSTR type);

// A 24-bit bitmap of the pixels (no alpha, so a static control shows this
// very bitmap rather than a copy of its own), or nullptr.
HBITMAP CreateBitmapOf(const CPixels& picture);

// Owns a bitmap handed to a control: STM_SETIMAGE does not pass ownership.
class CBitmapHandle {
public:
    CBitmapHandle() = default;
    ~CBitmapHandle() { Reset(); }
    CBitmapHandle(const CBitmapHandle&) = delete;
    CBitmapHandle& operator=(const CBitmapHandle&) = delete;

    void Reset(HBITMAP bitmap = nullptr);
    HBITMAP Get() const { return m_hBitmap; }

private:
    HBITMAP m_hBitmap = nullptr;
};

// Owns an icon loaded at a size of its own (not shared by the system).
class CIconHandle {
public:
    explicit CIconHandle(HICON icon = nullptr) : m_hIcon(icon) {}
    ~CIconHandle();
    CIconHandle(const CIconHandle&) = delete;
    CIconHandle& operator=(const CIconHandle&) = delete;

    HICON Get() const { return m_hIcon; }

private:
    HICON m_hIcon;
};

// The module's icon resource in the image made for the size the two system
// metrics give at the current scale (SM_CXSMICON and SM_CYSMICON for the
// caption and the tray), so that Windows need not shrink another image.
HICON LoadIconForMetrics(HMODULE module, UINT id, int widthMetric, int heightMetric);
