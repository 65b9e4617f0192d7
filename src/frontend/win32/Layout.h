#pragma once

#include <windows.h>

#include "app/MainForm.h"

namespace velmora::win32 {

// Twips to pixels at a screen's dots per inch: 1440 twips make an inch, so 15 make a pixel
// at 96 dpi.
int twipsToPixels(int twips, UINT dpi);

// Where a control goes in the window's client area, in pixels. Controls inside a frame are
// children of the window too, placed at the frame's origin plus their own offset.
RECT placeInPixels(const MainForm& form, const Control& control, UINT dpi);

// The client area's size in pixels.
SIZE clientSizeInPixels(UINT dpi);

// Each control's window identifier: 1000 plus its tab index, so that another program (the
// UI test, an automation client) can find every control by its place in the tab order.
inline int controlId(const Control& control) {
    return 1000 + control.description().tabIndex;
}

}  // namespace velmora::win32
