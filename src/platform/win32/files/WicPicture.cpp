#include "win32/files/WicPicture.h"

#include <wincodec.h>

#include <algorithm>
#include <optional>

#include "win32/ComApartment.h"
#include "win32/text/SystemError.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

// Far more than a preview box shows, even on a large screen; keeps a huge picture that was
// given a .THM name from taking hundreds of megabytes.
constexpr UINT kLargestSide = 1024;
// A thumbnail is a few kilobytes; a file far larger is taken for no picture rather than read
// into memory whole.
constexpr std::uint64_t kLargestFile = 64ull * 1024 * 1024;

// The frame, scaled down to fit kLargestSide when it is larger.
bool fitted(IWICImagingFactory* factory, IWICBitmapSource* frame, ComRef<IWICBitmapScaler>& scaler,
            UINT& width, UINT& height) {
    if (width <= kLargestSide && height <= kLargestSide) {
        return true;
    }
    const double scale = static_cast<double>(kLargestSide) / std::max(width, height);
    width = std::max(1u, static_cast<UINT>(width * scale));
    height = std::max(1u, static_cast<UINT>(height * scale));
    return SUCCEEDED(factory->CreateBitmapScaler(scaler.put())) &&
           SUCCEEDED(scaler->Initialize(frame, width, height, WICBitmapInterpolationModeFant));
}

std::shared_ptr<const Picture> decode(IWICImagingFactory* factory, IWICBitmapDecoder* decoder) {
    ComRef<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        width == 0 || height == 0) {
        return nullptr;
    }
    ComRef<IWICBitmapScaler> scaler;
    if (!fitted(factory, frame.get(), scaler, width, height)) {
        return nullptr;
    }
    IWICBitmapSource* source = scaler.get() != nullptr
                                   ? static_cast<IWICBitmapSource*>(scaler.get())
                                   : static_cast<IWICBitmapSource*>(frame.get());
    ComRef<IWICBitmapSource> converted;
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, source, converted.put()))) {
        return nullptr;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    if (FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data())))) {
        return nullptr;
    }
    return std::make_shared<WicPicture>(static_cast<int>(width), static_cast<int>(height),
                                        std::move(pixels));
}

}  // namespace

void WicPicture::draw(HDC dc, const RECT& area) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int previousMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0,
                  width_, height_, pixels_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previousMode);
}

std::shared_ptr<const Picture> decodePicture(const std::string& bytes) {
    // WIC 1, which every Windows 7 has; the SDK's plain name means WIC 2 for newer targets.
    ComRef<IWICImagingFactory> factory;
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory.put()));
    if (FAILED(result)) {
        fail("Reading the picture", "", static_cast<unsigned long>(result));
    }
    // Decoded from memory, read beforehand: the decoder opening the file itself would deny
    // other programs the writing that that read allows, and its reads would be the drive's.
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.put()))) {
        return nullptr;
    }
    return decode(factory.get(), decoder.get());
}

}  // namespace velmora::win32
