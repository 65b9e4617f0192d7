#pragma once

#include <QImage>
#include <memory>
#include <string>

#include "controls/Picture.h"

namespace velmora::qt {

// A decoded picture as Qt holds it; picture boxes draw its image.
class QtPicture : public Picture {
  public:
    explicit QtPicture(QImage image) : image_(std::move(image)) {}
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    const QImage& image() const { return image_; }

  private:
    QImage image_;
};

// Decodes a picture file's bytes by their content, whatever the file's extension (a .THM
// thumbnail is a JPEG). nullptr when they are not a picture.
std::shared_ptr<const Picture> decodePicture(const std::string& bytes);

}  // namespace velmora::qt
