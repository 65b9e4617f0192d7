#pragma once

#include <windows.h>

#include "controls/Control.h"

namespace velmora::win32 {

// The window's fonts for one screen dpi: Tahoma 8.25 points, plain and underlined.
class Fonts {
  public:
    explicit Fonts(UINT dpi);
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    HFONT forControl(const Control& control) const;

  private:
    HFONT plain_;
    HFONT underlined_;
};

}  // namespace velmora::win32
