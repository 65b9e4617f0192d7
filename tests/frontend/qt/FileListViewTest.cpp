#include "FileListView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QtTest/QTest>

#include "ControlDescriptions.h"
#include "EventRecorder.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora::test {
namespace {

class FileListViewTest : public ::testing::Test {
  protected:
    FileListViewTest() {
        for (const char* name : {"d.MP4", "a.mp4", "C.MP4", "b.Mp4", "skip.txt"}) {
            folder.write(name);
        }
        list.setPath(folder.path());
        view.resize(200, 300);
    }

    QStringList shownNames() const {
        QStringList names;
        for (int row = 0; row < view.model()->rowCount(); ++row) {
            names << view.model()->index(row, 0).data().toString();
        }
        return names;
    }
    std::vector<int> shownSelection() const {
        std::vector<int> rows;
        for (int row = 0; row < view.model()->rowCount(); ++row) {
            if (view.selectionModel()->isSelected(view.model()->index(row, 0))) {
                rows.push_back(row);
            }
        }
        return rows;
    }
    std::vector<int> modelSelection() const {
        std::vector<int> rows;
        for (int row = 0; row < list.ListCount(); ++row) {
            if (list.Selected(row)) {
                rows.push_back(row);
            }
        }
        return rows;
    }
    void click(int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect place = view.visualRect(view.model()->index(row, 0));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, place.center());
    }

    TempFolder folder;
    ScriptedPlatform platform;
    FileList list{descriptionOf("listSource", ControlKind::FileList), platform, "*.MP4"};
    EventRecorder recorder;
    qt::FileListView view{list, recorder.sink(), nullptr};
};

TEST_F(FileListViewTest, ShowsTheModelsNamesInItsOrderWithExtendedSelection) {
    EXPECT_EQ(shownNames(), QStringList({"a.mp4", "b.Mp4", "C.MP4", "d.MP4"}));
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(FileListViewTest, AUserSelectionIsWrittenToTheModelAndRaisesClickOnce) {
    click(1);
    EXPECT_EQ(modelSelection(), std::vector<int>{1});
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(recorder.events, (std::vector<EventRecorder::Event>{{EventKind::Click, 0}}));

    click(3, Qt::ShiftModifier);
    EXPECT_EQ(modelSelection(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.ListIndex(), 3);
    click(2, Qt::ControlModifier);
    EXPECT_EQ(modelSelection(), (std::vector<int>{1, 3}));
    click(0);
    EXPECT_EQ(modelSelection(), std::vector<int>{0});
    EXPECT_EQ(recorder.count(EventKind::Click), 4);
}

TEST_F(FileListViewTest, MovingWithTheArrowKeysSelectsAndRaisesClick) {
    click(0);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(modelSelection(), std::vector<int>{1});
    EXPECT_EQ(list.FileName(), "b.Mp4");
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(modelSelection(), (std::vector<int>{1, 2}));
    EXPECT_EQ(recorder.count(EventKind::Click), 3);
}

TEST_F(FileListViewTest, TakingTheFocusGivesNoCurrentNameButMovingTheFocusFrameDoes) {
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&view, &focusIn);
    EXPECT_EQ(view.currentIndex().row(), 0);
    EXPECT_EQ(list.FileName(), "");

    QTest::keyClick(&view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(list.FileName(), "b.Mp4");
    EXPECT_TRUE(modelSelection().empty());
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(FileListViewTest, SelectionsMadeByTheHandlersShowWithoutRaisingClick) {
    list.setSelected(2, true);
    list.setSelected(0, true);
    EXPECT_EQ(shownSelection(), (std::vector<int>{0, 2}));
    list.setSelected(2, false);
    EXPECT_EQ(shownSelection(), std::vector<int>{0});
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(FileListViewTest, ANewFolderOrARefreshShowsTheNamesAndKeptSelectionWithoutClick) {
    click(1);
    click(2, Qt::ControlModifier);
    recorder.events.clear();

    folder.write("aa.MP4");
    list.Refresh();
    EXPECT_EQ(shownNames(), QStringList({"a.mp4", "aa.MP4", "b.Mp4", "C.MP4", "d.MP4"}));
    EXPECT_EQ(shownSelection(), (std::vector<int>{2, 3}));
    EXPECT_EQ(view.currentIndex().row(), list.ListIndex());

    folder.write("other/x.MP4");
    list.setPath(folder.at("other"));
    EXPECT_EQ(shownNames(), QStringList({"x.MP4"}));
    EXPECT_TRUE(shownSelection().empty());
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(FileListViewTest, HandlesTenThousandNamesAndSelectingThemAll) {
    for (int i = 0; i < 10000; ++i) {
        folder.write("many/clip" + std::to_string(10000 + i) + ".MP4");
    }
    list.setPath(folder.at("many"));
    ASSERT_EQ(view.model()->rowCount(), 10000);
    EXPECT_EQ(view.model()->index(9999, 0).data().toString(), "clip19999.MP4");

    view.setFocus();
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(modelSelection().size(), 10000u);
    EXPECT_EQ(recorder.count(EventKind::Click), 1);

    list.Refresh();
    EXPECT_EQ(shownSelection().size(), 10000u);
}

}  // namespace
}  // namespace velmora::test
