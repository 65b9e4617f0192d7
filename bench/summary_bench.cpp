// The selection summary over 1,000 selected videos, each with a 160 x 120 JPEG thumbnail,
// against merely decoding and painting the same thumbnails.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cstdio>
#include <vector>

#include "Offscreen.h"
#include "QtPicture.h"
#include "QtPlatform.h"
#include "Ratio.h"
#include "ScratchFolder.h"
#include "app/MainForm.h"

namespace velmora::bench {
namespace {

constexpr int kVideos = 1000;

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

std::vector<std::string> makeVideosWithThumbnails(const ScratchFolder& folder) {
    std::vector<std::string> thumbnails;
    char name[32];
    for (int i = 0; i < kVideos; ++i) {
        std::snprintf(name, sizeof name, "clip%04d", i);
        folder.write(std::string(name) + ".MP4", std::string(4096, 'v'));
        folder.write(std::string(name) + ".THM", thumbnailJpeg(i));
        thumbnails.push_back(folder.at(std::string(name) + ".THM"));
    }
    return thumbnails;
}

// What the picture box's view does when it next paints: stretch the picture into the box.
void paintInto(QImage& box, const QImage& picture) {
    QPainter painter(&box);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(box.rect(), picture);
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora;
    bench::useOffscreenUnlessSet();
    QGuiApplication app(argc, argv);
    const bench::ScratchFolder folder("velmora-summary-bench");
    const std::vector<std::string> thumbnails = bench::makeVideosWithThumbnails(folder);

    qt::QtPlatform platform;
    MainForm form(platform);
    form.listSource.setPath(folder.path());
    for (int i = 0; i < form.listSource.ListCount(); ++i) {
        form.listSource.setSelected(i, true);
    }
    QImage box(form.picSource.ScaleWidth(), form.picSource.ScaleHeight(), QImage::Format_RGB32);

    const bench::Timing timing = bench::compare(
        7, 1,
        [&] {
            form.listSource_Click();
            const auto* shown = dynamic_cast<const qt::QtPicture*>(form.picSource.picture().get());
            bench::paintInto(box, shown->image());
        },
        [&] {
            for (const std::string& path : thumbnails) {
                QImageReader reader(QString::fromStdString(path));
                reader.setDecideFormatFromContent(true);
                bench::paintInto(box, reader.read());
            }
        });
    std::printf("sizeSource shows %s MB\n", form.sizeSource.Caption().c_str());
    bench::report("Selection summary of 1,000 videos with thumbnails / decode and paint", timing,
                  1.2);
    return 0;
}
