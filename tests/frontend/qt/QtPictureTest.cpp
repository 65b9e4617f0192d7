#include "QtPicture.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "QtPlatform.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"

namespace velmora::test {
namespace {

std::string encoded(const char* format) {
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

TEST(QtPictureTest, DecodesByContentWhateverTheExtension) {
    TempFolder folder;
    folder.write("clip.THM", encoded("JPG"));
    folder.write("other.THM", encoded("PNG"));
    folder.write("looks.png", encoded("JPG"));
    for (const char* name : {"clip.THM", "other.THM", "looks.png"}) {
        const auto picture = qt::loadPictureFile(folder.at(name));
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_EQ(picture->width(), 32);
        EXPECT_EQ(picture->height(), 24);
        const QImage& image = dynamic_cast<const qt::QtPicture&>(*picture).image();
        EXPECT_GT(image.pixelColor(16, 12).green(), 200) << name;
    }
}

TEST(QtPictureTest, ContentThatIsNoPictureGivesNoneAndAnUnreadableFileFails) {
    TempFolder folder;
    folder.write("garbage.THM", "this is not a picture at all");
    folder.write("empty.THM");
    folder.write("cut.THM", encoded("JPG").substr(0, 10));
    for (const char* name : {"garbage.THM", "empty.THM", "cut.THM"}) {
        EXPECT_EQ(qt::loadPictureFile(folder.at(name)), nullptr) << name;
    }
    EXPECT_THROW(qt::loadPictureFile(folder.at("missing.THM")), PlatformError);
}

TEST(QtPictureTest, ThePlatformFindsAThumbnailWrittenInAnotherLetterCase) {
    TempFolder folder;
    folder.write("clip.thm", encoded("JPG"));
    qt::QtPlatform platform;
    EXPECT_NE(platform.loadPicture(folder.at("clip.THM")), nullptr);
}

}  // namespace
}  // namespace velmora::test
