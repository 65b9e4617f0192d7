#include "MainWindow.h"

#include <QtTest/QTest>

#include <QAbstractItemView>
#include <QComboBox>
#include <QScreen>
#include <functional>

#include "QtPicture.h"
#include "WindowFixture.h"

namespace velmora::test {
namespace {

struct Place {
    const char* name;
    const char* container;
    int left, top, width, height;  // twips
};

const Place kPlaces[] = {
    {"frameSource", "mainForm", 120, 120, 4095, 5655},
    {"dirSource", "frameSource", 120, 270, 2775, 315},
    {"btnBrowse", "frameSource", 3000, 240, 975, 375},
    {"listSource", "frameSource", 120, 720, 3855, 4575},
    {"labelSelected", "frameSource", 2160, 5350, 1095, 255},
    {"sizeSource", "frameSource", 3360, 5350, 495, 255},
    {"framePSP", "mainForm", 5640, 120, 4095, 5655},
    {"drivePSP", "framePSP", 120, 240, 3855, 315},
    {"listPSP", "framePSP", 120, 720, 3855, 4575},
    {"labelSizePSP", "framePSP", 240, 5350, 1095, 255},
    {"sizePSP", "framePSP", 1320, 5350, 495, 255},
    {"labelPSP", "framePSP", 2040, 5350, 1335, 255},
    {"freePSP", "framePSP", 3360, 5350, 495, 255},
    {"labelSource", "mainForm", 4320, 720, 1215, 255},
    {"picSource", "mainForm", 4290, 1080, 1260, 960},
    {"btnCopy", "mainForm", 4320, 2640, 1215, 495},
    {"labelSelPSP", "mainForm", 4320, 3600, 1215, 255},
    {"picPSP", "mainForm", 4290, 3960, 1260, 960},
    {"copyRight", "mainForm", 4320, 5280, 1215, 495},
};

using MainWindowTest = WindowFixture;

TEST_F(MainWindowTest, IsAFixedCentredWindowWithEveryControlAtItsTwipsInPixels) {
    ASSERT_DOUBLE_EQ(window.screen()->logicalDotsPerInch(), 96.0);
    EXPECT_EQ(window.windowTitle(), "Velmora");
    EXPECT_EQ(window.size(), QSize(657, 393));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const QPoint off = window.geometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(off.manhattanLength(), 2);
    for (const Place& p : kPlaces) {
        EXPECT_EQ(view(p.name).parentWidget()->objectName(), p.container) << p.name;
        const auto px = [](int twips) { return (twips + 7) / 15; };  // to the nearest pixel
        EXPECT_EQ(view(p.name).geometry(), QRect(px(p.left), px(p.top), px(p.width), px(p.height)))
            << p.name;
    }
    EXPECT_EQ(std::size(kPlaces), form.controls().size());
}

TEST_F(MainWindowTest, APaintedPictureShowsAgainOnEveryRepaint) {
    QImage halves(160, 120, QImage::Format_RGB32);
    halves.fill(Qt::red);
    for (int y = 0; y < 120; ++y) {
        for (int x = 80; x < 160; ++x) {
            halves.setPixelColor(x, y, Qt::blue);
        }
    }
    form.picSource.paint(std::make_shared<qt::QtPicture>(halves));
    for (int pass = 0; pass < 2; ++pass) {  // each grab paints the box afresh
        const QImage shown = view("picSource").grab().toImage();
        EXPECT_EQ(shown.pixelColor(3, 3), QColor(Qt::red));
        EXPECT_EQ(shown.pixelColor(80, 60), QColor(Qt::blue));
        EXPECT_NE(shown.pixelColor(0, 0), QColor(Qt::red)) << "the border stays";
    }
}

TEST_F(MainWindowTest, ClicksReachTheHandlers) {
    auto& list = viewAs<QAbstractItemView>("listSource");
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualRect(list.model()->index(1, 0)).center());
    EXPECT_TRUE(form.listSource.Selected(1));
    EXPECT_EQ(form.sizeSource.Caption(), "3");
    QTest::mouseClick(&view("copyRight"), Qt::LeftButton);
    EXPECT_EQ(platform.openedAddresses, std::vector{platform.aboutPageAddress()});
}

struct KeyCase {
    const char* control;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::function<void(ScriptedPlatform&, MainForm&, const TempFolder&)> arrange;
    std::function<bool(const ScriptedPlatform&, const MainForm&)> handled;
};

class KeyTest : public WindowFixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTest, APressedKeyReachesItsHandler) {
    const KeyCase& c = GetParam();
    c.arrange(platform, form, folder);
    QTest::keyClick(&view(c.control), c.key, c.modifiers);
    EXPECT_TRUE(c.handled(platform, form)) << c.control;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTest,
    ::testing::Values(
        KeyCase{"drivePSP", Qt::Key_R, Qt::ControlModifier,
                [](auto& p, auto&, auto& f) {
                    p.setDrives({{"/", "/"}, {f.path(), f.path() + "/"}, {"/m/s", "/m/s/"}});
                },
                [](auto&, auto& m) { return m.drivePSP.entries().size() == 3; }},
        KeyCase{"listSource", Qt::Key_R, Qt::ControlModifier,
                [](auto&, auto&, auto& f) { f.write("c.MP4"); },
                [](auto&, auto& m) { return m.listSource.ListCount() == 3; }},
        KeyCase{"dirSource",
                Qt::Key_Return,
                {},
                [](auto&, auto& m, auto& f) {
                    f.write("sub/x.MP4");
                    m.dirSource.setText(f.at("sub"));
                },
                [](auto&, auto& m) { return m.listSource.ListCount() == 1; }},
        KeyCase{"listSource", Qt::Key_C, Qt::ControlModifier,
                [](auto&, auto& m, auto&) { m.listSource.setSelected(0, true); },
                [](auto& p, auto&) { return p.questions.size() == 1; }},
        KeyCase{"listPSP",
                Qt::Key_Backspace,
                {},
                [](auto&, auto& m, auto&) {
                    m.listPSP.setListIndex(0);
                    m.listPSP.setSelected(0, true);
                },
                [](auto& p, auto&) { return p.questions.size() == 1; }}));

}  // namespace
}  // namespace velmora::test
