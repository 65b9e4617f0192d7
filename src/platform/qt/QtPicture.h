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

// Decodes a picture file by its content, whatever its extension (a .THM thumbnail is a
// JPEG). nullptr when the content is not a picture; PlatformError when the file can't be
// read at all.
std::shared_ptr<const Picture> loadPictureFile(const std::string& path);

}  // namespace velmora::qt
