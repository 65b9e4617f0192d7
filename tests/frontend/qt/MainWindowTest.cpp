#include "MainWindow.h"

#include <QtTest/QTest>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <set>

#include "WindowFixture.h"

namespace velmora::test {
namespace {

struct Placement {
    const char* name;
    const char* container;
    QRect pixels;
};

// The window's table in pixels at 96 dpi (twips / 15), each inside its container.
const Placement kPlacements[] = {
    {"frameSource", "mainForm", {8, 8, 273, 377}},
    {"dirSource", "frameSource", {8, 18, 185, 21}},
    {"btnBrowse", "frameSource", {200, 16, 65, 25}},
    {"listSource", "frameSource", {8, 48, 257, 305}},
    {"labelSelected", "frameSource", {144, 357, 73, 17}},
    {"sizeSource", "frameSource", {224, 357, 33, 17}},
    {"framePSP", "mainForm", {376, 8, 273, 377}},
    {"drivePSP", "framePSP", {8, 16, 257, 21}},
    {"listPSP", "framePSP", {8, 48, 257, 305}},
    {"labelSizePSP", "framePSP", {16, 357, 73, 17}},
    {"sizePSP", "framePSP", {88, 357, 33, 17}},
    {"labelPSP", "framePSP", {136, 357, 89, 17}},
    {"freePSP", "framePSP", {224, 357, 33, 17}},
    {"labelSource", "mainForm", {288, 48, 81, 17}},
    {"picSource", "mainForm", {286, 72, 84, 64}},
    {"btnCopy", "mainForm", {288, 176, 81, 33}},
    {"labelSelPSP", "mainForm", {288, 240, 81, 17}},
    {"picPSP", "mainForm", {286, 264, 84, 64}},
    {"copyRight", "mainForm", {288, 352, 81, 33}},
};

using MainWindowTest = WindowFixture;

TEST_F(MainWindowTest, IsAFixedCentredWindowWithTheClientAreaOfTheTable) {
    ASSERT_DOUBLE_EQ(window.screen()->logicalDotsPerInch(), 96.0);
    EXPECT_EQ(window.windowTitle(), "Velmora");
    EXPECT_EQ(window.size(), QSize(657, 393));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    const QPoint offCentre =
        window.geometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << "centred to the pixel";
    for (const int size : {16, 32, 48}) {
        EXPECT_EQ(window.windowIcon().pixmap(size).width(), size);
    }
}

TEST_F(MainWindowTest, PlacesEveryControlInItsContainerAtItsTwipsInPixels) {
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        const QWidget& widget = view(p.name);
        EXPECT_EQ(widget.objectName(), p.name);
        EXPECT_EQ(widget.parentWidget()->objectName(), p.container);
        EXPECT_EQ(widget.geometry(), p.pixels);
    }
    EXPECT_EQ(std::size(kPlacements), form.controls().size());
}

TEST_F(MainWindowTest, ShowsTheTextsAndToolTipsOfTheTable) {
    EXPECT_EQ(viewAs<QGroupBox>("frameSource").title(), "Source");
    EXPECT_EQ(viewAs<QGroupBox>("framePSP").title(), "PSP");
    EXPECT_EQ(viewAs<QPushButton>("btnBrowse").text(), "Browse..");
    EXPECT_EQ(viewAs<QPushButton>("btnCopy").text(), "Copy to PSP");
    EXPECT_EQ(viewAs<QLabel>("labelSelected").text(), "Selected (MB):");
    EXPECT_EQ(viewAs<QLabel>("labelSizePSP").text(), "Selected (MB):");
    EXPECT_EQ(viewAs<QLabel>("labelPSP").text(), "Free space (MB):");
    EXPECT_EQ(viewAs<QLabel>("labelSource").text(), "Selected Source:");
    EXPECT_EQ(viewAs<QLabel>("labelSelPSP").text(), "Selected PSP:");
    EXPECT_EQ(viewAs<QLabel>("copyRight").text().toStdString(), MainForm::kCredit);

    EXPECT_EQ(view("listSource").toolTip(), "Ctrl-R to refresh, Ctrl-C to copy selected files");
    EXPECT_EQ(view("listPSP").toolTip(), "Ctrl-R to refresh, Backspace to delete selected files");
    EXPECT_EQ(view("drivePSP").toolTip(), "Ctrl-R to refresh");

    for (const char* right :
         {"labelSelected", "sizeSource", "labelSizePSP", "sizePSP", "labelPSP", "freePSP"}) {
        EXPECT_TRUE(viewAs<QLabel>(right).alignment() & Qt::AlignRight) << right;
    }
    for (const char* centred : {"labelSource", "labelSelPSP", "copyRight"}) {
        EXPECT_TRUE(viewAs<QLabel>(centred).alignment() & Qt::AlignHCenter) << centred;
    }
}

TEST_F(MainWindowTest, EveryCaptionFitsItsControl) {
    for (Control* control : form.controls()) {
        auto* label = qobject_cast<QLabel*>(&view(control->name()));
        if (label == nullptr) {
            continue;
        }
        const QRect needed =
            QFontMetrics(label->font())
                .boundingRect(QRect(0, 0, label->width(), 1000), Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.width(), label->width()) << control->name();
        EXPECT_LE(needed.height(), label->height()) << control->name();
    }
    for (const char* name : {"btnBrowse", "btnCopy"}) {
        auto& button = viewAs<QPushButton>(name);
        EXPECT_LE(button.fontMetrics().horizontalAdvance(button.text()) + 8, button.width())
            << name;
    }
}

TEST_F(MainWindowTest, TheCreditIsABlueUnderlinedLinkThatOpensTheAboutPage) {
    auto& credit = viewAs<QLabel>("copyRight");
    EXPECT_EQ(credit.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(credit.font().underline());
    EXPECT_EQ(credit.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(credit.wordWrap());

    QTest::mouseClick(&credit, Qt::LeftButton);
    ASSERT_EQ(platform.openedAddresses.size(), 1u);
    EXPECT_EQ(platform.openedAddresses[0], platform.aboutPageAddress());
}

TEST_F(MainWindowTest, UsesTheControlFontEverywhereButUnderlinesOnlyTheCredit) {
    for (Control* control : form.controls()) {
        const QFont font = view(control->name()).font();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25) << control->name();
        EXPECT_EQ(font.weight(), QFont::Normal) << control->name();
        EXPECT_EQ(font.underline(), control->name() == "copyRight") << control->name();
    }
}

TEST_F(MainWindowTest, StartsInItsInitialState) {
    EXPECT_EQ(viewAs<QLabel>("sizeSource").text(), "0");
    EXPECT_EQ(viewAs<QLabel>("sizePSP").text(), "0");
    EXPECT_EQ(viewAs<QLabel>("freePSP").text(), "0");
    EXPECT_EQ(viewAs<QLineEdit>("dirSource").text(), "Select a folder");
    for (const char* list : {"listSource", "listPSP"}) {
        const QAbstractItemModel& names = *viewAs<QAbstractItemView>(list).model();
        ASSERT_EQ(names.rowCount(), 2) << list;
        EXPECT_EQ(names.index(0, 0).data().toString(), "A.mp4") << list;
        EXPECT_EQ(names.index(1, 0).data().toString(), "b.MP4") << list;
        EXPECT_TRUE(viewAs<QAbstractItemView>(list).selectionModel()->selectedIndexes().isEmpty());
    }
    EXPECT_EQ(viewAs<QComboBox>("drivePSP").currentText().toStdString(), folder.path() + " [CARD]");
    EXPECT_EQ(window.focusWidget(), &view("listSource"));
}

TEST_F(MainWindowTest, TabMovesThroughTheFocusableControlsInTabIndexOrder) {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), &view("listSource"));
    for (const char* next :
         {"listPSP", "dirSource", "drivePSP", "btnBrowse", "btnCopy", "listSource"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
    }
}

TEST_F(MainWindowTest, EveryControlHasItsOwnAccessibleName) {
    std::set<QString> names;
    for (Control* control : form.controls()) {
        const QString name = view(control->name()).accessibleName();
        EXPECT_FALSE(name.isEmpty()) << control->name();
        EXPECT_NE(name.toStdString(), control->name()) << "not a spoken name";
        names.insert(name);
    }
    EXPECT_EQ(names.size(), form.controls().size());
}

TEST_F(MainWindowTest, AControlAskingForTheFocusGetsIt) {
    form.btnCopy.SetFocus();
    EXPECT_EQ(window.focusWidget(), &view("btnCopy"));
}

// The window hands user events to the form's handlers by the control's name.
TEST_F(MainWindowTest, CtrlRInTheDriveListReachesItsHandler) {
    auto& drives = viewAs<QComboBox>("drivePSP");
    ASSERT_EQ(drives.count(), 2);
    platform.setDrives({{"/", "/"},
                        {folder.path() + " [CARD]", folder.path() + "/"},
                        {"/media/stick [PSP]", "/media/stick/"}});
    QTest::keyClick(&drives, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(drives.count(), 3);
    EXPECT_EQ(drives.currentText().toStdString(), folder.path() + " [CARD]");
}

TEST_F(MainWindowTest, ClickingAVideoRaisesTheListsClickHandler) {
    auto& list = viewAs<QAbstractItemView>("listSource");
    const QRect row = list.visualRect(list.model()->index(1, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_TRUE(form.listSource.Selected(1));
    EXPECT_EQ(viewAs<QLabel>("sizeSource").text(), "3");
}

}  // namespace
}  // namespace velmora::test
