#include "Layout.h"

namespace velmora::win32 {

int twipsToPixels(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT placeInPixels(const MainForm& form, const Control& control, UINT dpi) {
    TwipsRect place = control.description().place;
    if (const Control* frame = form.control(control.description().container)) {
        place.left += frame->description().place.left;
        place.top += frame->description().place.top;
    }
    // Each edge is converted on its own, so neighbours that touch in twips touch in pixels.
    return {twipsToPixels(place.left, dpi), twipsToPixels(place.top, dpi),
            twipsToPixels(place.left + place.width, dpi),
            twipsToPixels(place.top + place.height, dpi)};
}

SIZE clientSizeInPixels(UINT dpi) {
    return {twipsToPixels(MainForm::kClientWidthTwips, dpi),
            twipsToPixels(MainForm::kClientHeightTwips, dpi)};
}

}  // namespace velmora::win32
