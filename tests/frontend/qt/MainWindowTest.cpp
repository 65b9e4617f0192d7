#include "MainWindow.h"

#include <QtTest/QTest>

#include <QAbstractItemView>
#include <QComboBox>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <map>

#include "WindowFixture.h"
#include "qt/QtPicture.h"
#include "support/WindowLayout.h"

namespace velmora::test {
namespace {

using MainWindowTest = WindowFixture;

// Controls that show no text of their own read as the control that heads them.
const std::map<std::string_view, std::string_view> kNamedBy{{"listSource", "frameSource"},
                                                            {"listPSP", "framePSP"},
                                                            {"picSource", "labelSource"},
                                                            {"picPSP", "labelSelPSP"}};
const std::map<std::string_view, std::string_view> kLabelledBy{
    {"sizeSource", "labelSelected"}, {"sizePSP", "labelSizePSP"}, {"freePSP", "labelPSP"}};

std::string shownText(const MainForm& form, const Control& control) {
    if (const auto by = kNamedBy.find(control.name()); by != kNamedBy.end()) {
        return shownText(form, *form.control(by->second));
    }
    if (const auto* label = dynamic_cast<const Label*>(&control)) {
        return label->Caption();
    }
    if (const auto* box = dynamic_cast<const TextBox*>(&control)) {
        return box->Text();
    }
    return dynamic_cast<const DriveList&>(control).Drive();
}

// A fixed window of the controls at their places, which keeps its pictures, takes keys, and reads
// to a screen reader at moments in its life: what the user did, and a caption a handler changed.
// (After a drive change: the mounts test, on the real accessibility bus.)
TEST_F(MainWindowTest, IsCentredPlacesControlsInTwipsKeepsPicturesTakesKeysAndReadsWhatItShows) {
    ASSERT_DOUBLE_EQ(window.screen()->logicalDotsPerInch(), 96.0);
    // Its title and size: the smoke test, on a real X server.
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const QPoint off = window.geometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(off.manhattanLength(), 2);
    const auto px = [](int twips) { return (twips + 7) / 15; };  // to the nearest pixel
    for (const ControlPlace& p : kWindowLayout) {
        EXPECT_EQ(view(p.name).parentWidget()->objectName(), p.container) << p.name;
        EXPECT_EQ(view(p.name).geometry(), QRect(px(p.left), px(p.top), px(p.width), px(p.height)))
            << p.name;
    }
    EXPECT_EQ(std::size(kWindowLayout), form.controls().size());
    // A painted picture shows again on every repaint.
    QImage halves(160, 120, QImage::Format_RGB32);
    halves.fill(Qt::red);
    QPainter(&halves).fillRect(80, 0, 80, 120, Qt::blue);
    form.picSource.paint(std::make_shared<qt::QtPicture>(halves));
    for (int pass = 0; pass < 2; ++pass) {  // each grab paints the box afresh
        const QImage shown = view("picSource").grab().toImage();
        EXPECT_EQ(shown.pixelColor(3, 3), QColor(Qt::red));
        EXPECT_EQ(shown.pixelColor(80, 60), QColor(Qt::blue));
        EXPECT_NE(shown.pixelColor(0, 0), QColor(Qt::red)) << "the border stays";
    }
    // A pick that found no video folder (the user declined one) is tried again on a pick of it.
    auto& drives = dynamic_cast<QComboBox&>(view("drivePSP"));
    QTest::keyClick(&drives, Qt::Key_Down);
    stick.makeFolder(kVideoFolder);
    drives.showPopup();
    QTest::keyClick(drives.view(), Qt::Key_Return);
    EXPECT_EQ(form.listPSP.Path(), stick.at(kVideoFolder));
    EXPECT_EQ(platform.questions.size(), 1u);
    // Ctrl-R re-reads the drives, and the source folder. (The other keys: the end-to-end tests; a
    // click on a list row: the screen reader's case; on the credit and F1: the smoke test.)
    home.write("c.MP4");
    platform.setDrives({{"/", "/"}, {home.path(), home.path() + "/"}, {"e: [PSP]", stick.root()}});
    QTest::keyClick(&view("drivePSP"), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(form.drivePSP.entries().size(), 3u);
    QTest::keyClick(&view("listSource"), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(form.listSource.ListCount(), 3);
    const auto readsAsShown = [&](const char* changed, const char* shows) {
        ASSERT_EQ(shownText(form, *form.control(changed)), shows);
        for (const Control* control : form.controls()) {
            QAccessibleInterface& reader = accessible(control->name());
            EXPECT_EQ(reader.text(QAccessible::Name).toStdString(), shownText(form, *control))
                << control->name();
            EXPECT_FALSE(reader.text(QAccessible::Description).isEmpty()) << control->name();
            if (const QAccessibleTextInterface* text = reader.textInterface()) {
                EXPECT_EQ(text->text(0, text->characterCount()), reader.text(QAccessible::Name));
            } else {
                EXPECT_NE(control->kind(), ControlKind::Label) << control->name() << " has no text";
            }
        }
        for (const auto& [figure, label] : kLabelledBy) {
            const auto labels = accessible(figure).relations(QAccessible::Label);
            const auto isTheLabel = [&](const auto& by) { return by.first == &accessible(label); };
            EXPECT_TRUE(std::ranges::any_of(labels, isTheLabel)) << figure;
        }
    };
    readsAsShown("freePSP", "700");
    auto& list = dynamic_cast<QAbstractItemView&>(view("listSource"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualRect(list.model()->index(1, 0)).center());
    readsAsShown("sizeSource", "3");
    platform.browseTo("/");
    QTest::mouseClick(&view("btnBrowse"), Qt::LeftButton);
    readsAsShown("dirSource", "/");
}

}  // namespace
}  // namespace velmora::test
