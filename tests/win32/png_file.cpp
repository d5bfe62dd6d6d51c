#include "png_file.hpp"

#include "platform/win32/com.hpp"

#include <wincodec.h>
#include <windows.h>

namespace brindle::testing {
namespace {

using platform::win32::ComRef;

bool Factory(ComRef<IWICImagingFactory>& factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.Out())));
}

} // namespace

Picture ReadPng(const std::wstring& path) {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (!Factory(factory) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height))) {
        return {};
    }
    Picture picture{static_cast<int>(width), static_cast<int>(height),
                    std::vector<std::uint32_t>(std::size_t{width} * height)};
    if (FAILED(converter->CopyPixels(nullptr, width * 4,
                                     static_cast<UINT>(picture.pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(picture.pixels.data())))) {
        return {};
    }
    for (std::uint32_t& pixel : picture.pixels) {
        pixel &= 0xFFFFFF; // BGRX in memory is 0xXXRRGGBB
    }
    return picture;
}

bool WritePng(const std::wstring& path, const Picture& picture) {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    std::vector<BYTE> rows;
    const auto stride = static_cast<UINT>(picture.width * 3);
    for (const std::uint32_t pixel : picture.pixels) {
        rows.push_back(static_cast<BYTE>(pixel));
        rows.push_back(static_cast<BYTE>(pixel >> 8));
        rows.push_back(static_cast<BYTE>(pixel >> 16));
    }
    return Factory(factory) && SUCCEEDED(factory->CreateStream(stream.Out())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) &&
           SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.Out(), nullptr)) &&
           SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(static_cast<UINT>(picture.width),
                                    static_cast<UINT>(picture.height))) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR &&
           SUCCEEDED(frame->WritePixels(static_cast<UINT>(picture.height), stride,
                                        static_cast<UINT>(rows.size()), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

} // namespace brindle::testing
