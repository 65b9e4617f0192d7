#include "QtPicture.h"

#include <QFile>
#include <QImageReader>

#include "platform/PlatformError.h"

namespace velmora::qt {

std::shared_ptr<const Picture> loadPictureFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw PlatformError("Load picture", path, file.errorString().toStdString());
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) {
        return nullptr;
    }
    return std::make_shared<QtPicture>(std::move(image));
}

}  // namespace velmora::qt
