#include "common/Png.h"

#include "common/ResourceBytes.h"
#include "common/ScopedHandles.h"

#include <objbase.h>
#include <wincodec.h>

namespace {

// WIC's first factory, which Windows 7 has without its platform update; the
// SDK's CLSID_WICImagingFactory means the second one when built for Windows 8.
const CLSID kWicFactoryV1 = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
const IID kWicFactoryInterface = {0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
const GUID kPixelFormatBgra = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};

// Larger than any picture of ours; keeps the byte counts far from overflow.
constexpr UINT kMaxPictureSide = 4096;

bool DecodeWithWic(const BYTE* bytes, DWORD size, CPixels& picture)
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
    const UINT stride = width * sizeof(std::uint32_t);
    return picture.Allocate(static_cast<int>(width), static_cast<int>(height)) &&
           SUCCEEDED(converter->CopyPixels(nullptr, stride, stride * height,
                                           reinterpret_cast<BYTE*>(picture.pixels.Data())));
}

} // namespace

CPixels DecodePng(const BYTE* bytes, DWORD size)
{
    CPixels picture;
    if (!bytes)
        return picture;
    // COM for this call only; a thread that has it already keeps it as it is.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!DecodeWithWic(bytes, size, picture))
        picture = CPixels();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return picture;
}

CPixels LoadPngResource(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    const ResourceBytes png = FindResourceBytes(module, name, type);
    return DecodePng(png.data, png.size);
}
