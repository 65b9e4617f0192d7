#pragma once

#include <QFont>
#include <QRect>

#include "controls/Control.h"

class QScreen;

namespace velmora::qt {

// Turns the window's twips into pixels: 15 twips make a pixel at 96 dpi, and the screen's
// logical dpi scales that.
class Layout {
  public:
    explicit Layout(double scale) : scale_(scale) {}
    static Layout forScreen(const QScreen* screen);

    int pixels(int twips) const;
    QRect rect(const TwipsRect& place) const;
    double scale() const { return scale_; }

  private:
    double scale_;
};

// The control font: the face asked for when it is installed, else the sans font whose
// widths come nearest, so every caption fits where it was laid out.
QFont controlFont(const Font& font);

}  // namespace velmora::qt
