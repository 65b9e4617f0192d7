#include "Fonts.h"

#include <cmath>

#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

HFONT createFont(const Font& font, UINT dpi) {
    // Character height in pixels, negative as GDI takes it: 8.25 points are 11 pixels at 96 dpi.
    const int height = -static_cast<int>(std::lround(font.points * dpi / 72.0));
    // Any character set, not only the ANSI one: file names may be written in any script.
    return CreateFontW(height, 0, 0, 0, font.weight, FALSE, font.underline ? TRUE : FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, toWide(font.face).c_str());
}

}  // namespace

Fonts::Fonts(UINT dpi)
    : plain_(createFont(Font{}, dpi)), underlined_(createFont(Font{.underline = true}, dpi)) {}

Fonts::~Fonts() {
    DeleteObject(plain_);
    DeleteObject(underlined_);
}

HFONT Fonts::forControl(const Control& control) const {
    return control.description().font.underline ? underlined_ : plain_;
}

}  // namespace velmora::win32
