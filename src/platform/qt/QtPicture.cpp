#include "QtPicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace velmora::qt {

std::shared_ptr<const Picture> decodePicture(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) {
        return nullptr;
    }
    return std::make_shared<QtPicture>(std::move(image));
}

}  // namespace velmora::qt
