#pragma once

#include <memory>

#include "controls/Control.h"
#include "controls/Picture.h"

namespace velmora {

// An area a thumbnail is stretched into. It keeps the picture last painted, so a view can
// draw it again after the window was covered and uncovered.
class PictureBox : public Control {
  public:
    // The sunken border takes two pixels on each side.
    static constexpr int kBorderPixels = 2;

    explicit PictureBox(ControlDescription description) : Control(std::move(description)) {}

    // Inner size in pixels at 96 dpi: the area a stretched picture fills.
    int ScaleWidth() const { return description().place.width / 15 - 2 * kBorderPixels; }
    int ScaleHeight() const { return description().place.height / 15 - 2 * kBorderPixels; }

    // Stretch paint: the picture fills the whole inner area from (0, 0).
    void paint(std::shared_ptr<const Picture> picture) {
        picture_ = std::move(picture);
        changed.emit();
    }

    const std::shared_ptr<const Picture>& picture() const { return picture_; }

  private:
    std::shared_ptr<const Picture> picture_;
};

}  // namespace velmora
