#pragma once
#include <windows.h>

#include "common/HeapArray.h"

#include <cstdint>

// A pixel's four channels, eight bits each from the lowest: blue, green,
// red, alpha.
constexpr int kPixelChannels = 4;
constexpr int kBitsPerChannel = 8;
constexpr int kChannelMax = 255;
inline BYTE ChannelOf(std::uint32_t pixel, int channel)
{
    return static_cast<BYTE>(pixel >> (kBitsPerChannel * channel));
}

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
