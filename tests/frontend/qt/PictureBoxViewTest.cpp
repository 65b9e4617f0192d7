#include "PictureBoxView.h"

#include <gtest/gtest.h>

#include "ControlDescriptions.h"
#include "QtPicture.h"

namespace velmora::test {
namespace {

ControlDescription boxDescription() {
    ControlDescription description = descriptionOf("picSource", ControlKind::PictureBox);
    description.place = {4290, 1080, 1260, 960};
    return description;
}

std::shared_ptr<const Picture> halves(QColor left, QColor right) {
    QImage image(160, 120, QImage::Format_RGB32);
    image.fill(left);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = image.width() / 2; x < image.width(); ++x) {
            image.setPixelColor(x, y, right);
        }
    }
    return std::make_shared<qt::QtPicture>(image);
}

class PictureBoxViewTest : public ::testing::Test {
  protected:
    PictureBoxViewTest() { view.resize(84, 64); }
    QImage shown() { return view.grab().toImage(); }

    PictureBox box{boxDescription()};
    qt::PictureBoxView view{box, nullptr};
};

TEST_F(PictureBoxViewTest, IsASunkenBoxInTheWindowColourWithTheModelsInnerArea) {
    EXPECT_EQ(view.frameShadow(), QFrame::Sunken);
    EXPECT_EQ(view.frameWidth(), PictureBox::kBorderPixels);
    EXPECT_EQ(view.contentsRect().size(), QSize(box.ScaleWidth(), box.ScaleHeight()));
    EXPECT_EQ(shown().pixelColor(40, 30), view.palette().color(QPalette::Base));
}

TEST_F(PictureBoxViewTest, StretchesThePaintedPictureOverTheInnerAreaAndDrawsItAgain) {
    box.paint(halves(Qt::red, Qt::blue));
    for (int pass = 0; pass < 2; ++pass) {  // a second grab is a fresh repaint
        const QImage image = shown();
        EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(40, 60), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(80, 3), QColor(Qt::blue));
        EXPECT_NE(image.pixelColor(0, 0), QColor(Qt::red)) << "the border stays";
    }
}

TEST_F(PictureBoxViewTest, APictureOfAnotherPlatformLeavesTheBoxBlank) {
    struct Foreign : Picture {
        int width() const override { return 1; }
        int height() const override { return 1; }
    };
    box.paint(std::make_shared<Foreign>());
    EXPECT_EQ(shown().pixelColor(40, 30), view.palette().color(QPalette::Base));
}

}  // namespace
}  // namespace velmora::test
