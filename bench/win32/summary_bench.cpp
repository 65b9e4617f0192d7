// The selection summary on Windows: 3,000 selected videos without thumbnails against 3,000,
// each with a 160 x 120 JPEG thumbnail decoded by WIC.
#include <wincodec.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "SummaryRatio.h"
#include "win32/ComApartment.h"
#include "win32/Win32Platform.h"

namespace velmora::bench {
namespace {

using win32::ComRef;

void check(HRESULT result, const char* step) {
    if (FAILED(result)) {
        throw std::runtime_error(std::string("Encoding the thumbnail failed at ") + step);
    }
}

// A thumbnail that differs from its neighbours, so every decode does real work.
std::vector<BYTE> thumbnailPixels(int seed, UINT width, UINT height) {
    std::vector<BYTE> pixels(static_cast<std::size_t>(width) * height * 3);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            const unsigned value = (x * 7 + y * 13 + seed * 31 + (x * y) % (seed % 17 + 3)) & 0xFF;
            BYTE* pixel = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            pixel[0] = static_cast<BYTE>((value + y + seed) & 0xFF);
            pixel[1] = static_cast<BYTE>((value + x) & 0xFF);
            pixel[2] = static_cast<BYTE>(value);
        }
    }
    return pixels;
}

std::string thumbnailJpeg(int seed) {
    constexpr UINT kWidth = 160;
    constexpr UINT kHeight = 120;
    ComRef<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_PPV_ARGS(factory.put())),
          "the factory");
    ComRef<IStream> stream;
    check(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), "the stream");
    ComRef<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put()), "the encoder");
    check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "the stream's start");
    ComRef<IWICBitmapFrameEncode> frame;
    check(encoder->CreateNewFrame(frame.put(), nullptr), "the frame");
    check(frame->Initialize(nullptr), "the frame's start");
    check(frame->SetSize(kWidth, kHeight), "the size");
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    check(frame->SetPixelFormat(&format), "the pixel format");
    std::vector<BYTE> pixels = thumbnailPixels(seed, kWidth, kHeight);
    check(frame->WritePixels(kHeight, kWidth * 3, static_cast<UINT>(pixels.size()), pixels.data()),
          "the pixels");
    check(frame->Commit(), "the frame's end");
    check(encoder->Commit(), "the picture's end");

    STATSTG stat{};
    check(stream->Stat(&stat, STATFLAG_NONAME), "the stream's size");
    std::string bytes(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
    check(stream->Seek({}, STREAM_SEEK_SET, nullptr), "the stream's rewind");
    ULONG read = 0;
    check(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read), "the bytes");
    bytes.resize(read);
    return bytes;
}

}  // namespace
}  // namespace velmora::bench

int main() {
    velmora::win32::Win32Platform platform;
    velmora::bench::reportSummaryRatio(platform, velmora::bench::thumbnailJpeg);
    return 0;
}
