#include "common/Bitmap.h"

namespace {

// Blue, green and red; no alpha.
constexpr int kBitmapChannels = 3;
// Rows of a bitmap start on boundaries of this many bytes.
constexpr size_t kRowAlignment = sizeof(DWORD);

} // namespace

HBITMAP CreateBitmapOf(const CPixels& picture)
{
    if (picture.IsEmpty())
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitmapChannels * kBitsPerChannel;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return bitmap;
    const size_t rowBytes = static_cast<size_t>(picture.width) * kBitmapChannels;
    const size_t stride = (rowBytes + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    for (int y = 0; y < picture.height; ++y) {
        BYTE* row = static_cast<BYTE*>(bits) + stride * static_cast<size_t>(y);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            for (int channel = 0; channel < kBitmapChannels; ++channel)
                row[x * kBitmapChannels + channel] = ChannelOf(pixel, channel);
        }
    }
    return bitmap;
}
