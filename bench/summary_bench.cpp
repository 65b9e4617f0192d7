// The selection summary on Linux: 3,000 selected videos without thumbnails against 3,000,
// each with a 160 x 120 JPEG thumbnail.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include "Offscreen.h"
#include "qt/QtPlatform.h"
#include "SummaryRatio.h"

namespace velmora::bench {
namespace {

// A thumbnail that differs from its neighbours, so every decode does real work.
std::string thumbnailJpeg(int seed) {
    QImage image(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int value = (x * 7 + y * 13 + seed * 31 + (x * y) % (seed % 17 + 3)) & 0xFF;
            image.setPixel(x, y, qRgb(value, (value + x) & 0xFF, (value + y + seed) & 0xFF));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes.toStdString();
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    velmora::bench::useOffscreenUnlessSet();
    QGuiApplication app(argc, argv);
    velmora::qt::QtPlatform platform;
    velmora::bench::reportSummaryRatio(platform, velmora::bench::thumbnailJpeg);
    return 0;
}
