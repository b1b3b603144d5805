#include "framework/Picture.h"

#include "framework/ResourceBytes.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>

namespace {

// WIC's first factory, which Windows 7 has without its platform update; the
// SDK's CLSID_WICImagingFactory means the second one when built for Windows 8.
const CLSID kWicFactoryV1 = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
const IID kWicFactoryInterface = {0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
const GUID kPixelFormatBgra = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};

// Larger than any picture of ours; keeps the byte counts far from overflow.
constexpr UINT kMaxPictureSide = 4096;

// A COM interface pointer released when it goes.
template <typename Interface>
class CComRef {
public:
    CComRef() = default;
    ~CComRef()
    {
        if (m_p)
            m_p->Release();
    }
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
    Interface** Out() { return &m_p; }
    Interface* operator->() const { return m_p; }
    Interface* Get() const { return m_p; }

private:
    Interface* m_p = nullptr;
};

bool DecodePng(const BYTE* bytes, DWORD size, CPixels& picture)
{
    CComRef<IWICImagingFactory> factory;
    CComRef<IWICStream> stream;
    CComRef<IWICBitmapDecoder> decoder;
    CComRef<IWICBitmapFrameDecode> frame;
    CComRef<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(::CoCreateInstance(kWicFactoryV1, nullptr, CLSCTX_INPROC_SERVER, kWicFactoryInterface,
                                  reinterpret_cast<void**>(factory.Out()))) ||
        FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), kPixelFormatBgra, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxPictureSide ||
        height > kMaxPictureSide)
        return false;
    return picture.Allocate(static_cast<int>(width), static_cast<int>(height)) &&
           SUCCEEDED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                           reinterpret_cast<BYTE*>(picture.pixels.Data())));
}

// One source cell's share in a target cell.
struct AreaTap {
    int index;
    double weight;
};

// For each of 'to' cells laid over 'from' cells, the cells it covers and by
// how much, as shares of the target cell: cell i's taps start at
// taps[i * perCell], counts[i] of them.
struct AreaTaps {
    CHeapArray<AreaTap> taps;
    CHeapArray<int> counts;
    size_t perCell = 0;

    bool Make(int from, int to)
    {
        const double step = static_cast<double>(from) / to;
        // A cell of 'step' old cells touches at most that many and two part ones.
        perCell = static_cast<size_t>(step) + 2;
        if (!taps.Reset(static_cast<size_t>(to) * perCell) || !counts.Reset(static_cast<size_t>(to)))
            return false;
        for (int i = 0; i < to; ++i) {
            const double begin = i * step;
            const double end = begin + step;
            for (int cell = static_cast<int>(begin); cell < from && cell < end; ++cell) {
                const double covered = std::min(end, cell + 1.0) - std::max(begin, static_cast<double>(cell));
                if (covered > 0)
                    taps[static_cast<size_t>(i) * perCell + static_cast<size_t>(counts[static_cast<size_t>(i)]++)] =
                        {cell, covered / step};
            }
        }
        return true;
    }
    const AreaTap* begin(int cell) const { return taps.Data() + static_cast<size_t>(cell) * perCell; }
    const AreaTap* end(int cell) const { return begin(cell) + counts[static_cast<size_t>(cell)]; }
};

} // namespace

SIZE FitInside(SIZE picture, SIZE box)
{
    if (picture.cx <= 0 || picture.cy <= 0 || box.cx <= 0 || box.cy <= 0)
        return {0, 0};
    // The side that meets the box first decides.
    if (static_cast<long long>(box.cx) * picture.cy <= static_cast<long long>(box.cy) * picture.cx)
        return {box.cx, std::max(1, ::MulDiv(picture.cy, box.cx, picture.cx))};
    return {std::max(1, ::MulDiv(picture.cx, box.cy, picture.cy)), box.cy};
}

CPixels ScaleArea(const CPixels& source, int width, int height)
{
    CPixels result;
    AreaTaps columns, rows;
    // Across first, four channels per pixel, then down.
    CHeapArray<double> across;
    if (source.IsEmpty() || width <= 0 || height <= 0 || !columns.Make(source.width, width) ||
        !rows.Make(source.height, height) || !across.Reset(static_cast<size_t>(width) * source.height * 4) ||
        !result.Allocate(width, height))
        return CPixels();
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < width; ++x) {
            double* sum = &across[(static_cast<size_t>(y) * width + x) * 4];
            for (const AreaTap* tap = columns.begin(x); tap != columns.end(x); ++tap) {
                const std::uint32_t pixel = source.pixels[static_cast<size_t>(y) * source.width + tap->index];
                for (int channel = 0; channel < 4; ++channel)
                    sum[channel] += tap->weight * ((pixel >> (8 * channel)) & 0xFF);
            }
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double sum[4] = {};
            for (const AreaTap* tap = rows.begin(y); tap != rows.end(y); ++tap)
                for (int channel = 0; channel < 4; ++channel)
                    sum[channel] += tap->weight * across[(static_cast<size_t>(tap->index) * width + x) * 4 + channel];
            std::uint32_t pixel = 0;
            for (int channel = 0; channel < 4; ++channel)
                pixel |= static_cast<std::uint32_t>(std::min(255.0, sum[channel] + 0.5)) << (8 * channel);
            result.pixels[static_cast<size_t>(y) * width + x] = pixel;
        }
    return result;
}

CPixels LoadPngResource(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    CPixels picture;
    const ResourceBytes png = FindResourceBytes(module, name, type);
    if (!png.data)
        return picture;
    // COM for this call only; a thread that has it already keeps it as it is.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!DecodePng(png.data, png.size, picture))
        picture = CPixels();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return picture;
}

HBITMAP CreateBitmapOf(const CPixels& picture)
{
    if (picture.IsEmpty())
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return bitmap;
    // Rows of a bitmap start on 4-byte boundaries.
    const size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) & ~static_cast<size_t>(3);
    for (int y = 0; y < picture.height; ++y) {
        BYTE* row = static_cast<BYTE*>(bits) + stride * static_cast<size_t>(y);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            for (int channel = 0; channel < 3; ++channel)
                row[x * 3 + channel] = static_cast<BYTE>(pixel >> (8 * channel));
        }
    }
    return bitmap;
}

bool CPixels::Allocate(int newWidth, int newHeight)
{
    const bool allocated = pixels.Reset(static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight));
    width = allocated ? newWidth : 0;
    height = allocated ? newHeight : 0;
    return allocated;
}

void CBitmapHandle::Reset(HBITMAP bitmap)
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = bitmap;
}

CIconHandle::~CIconHandle()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

HICON LoadIconForMetrics(HMODULE module, UINT id, int widthMetric, int heightMetric)
{
    // Unshared: the shared copy of a resource is kept for the standard size
    // that LoadIcon asks for; this image has its own owner and size.
    return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                                           ::GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}
