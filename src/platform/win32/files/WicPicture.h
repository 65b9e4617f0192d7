#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/Picture.h"

namespace velmora::win32 {

// A decoded picture as 32-bit BGRX pixels, top row first.
class WicPicture : public Picture {
  public:
    WicPicture(int width, int height, std::vector<std::uint32_t> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels)) {}

    int width() const override { return width_; }
    int height() const override { return height_; }

    // Stretch paint: the whole picture scaled into area.
    void draw(HDC dc, const RECT& area) const;

  private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

// Decodes a picture file's bytes by their content, whatever the file's extension (a .THM
// thumbnail is a JPEG), on a thread that uses COM. Pictures larger than a thumbnail box could
// ever need are scaled down while decoding. nullptr when the bytes are not a picture; throws
// PlatformError when WIC can't be had.
std::shared_ptr<const Picture> decodePicture(const std::string& bytes);

}  // namespace velmora::win32
