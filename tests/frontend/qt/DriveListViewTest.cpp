#include "DriveListView.h"

#include <gtest/gtest.h>

#include <QtTest/QTest>

#include "ControlDescriptions.h"
#include "EventRecorder.h"
#include "support/ScriptedPlatform.h"

namespace velmora::test {
namespace {

ScriptedPlatform withDrives() {
    ScriptedPlatform platform;
    platform.setDrives({{"/", "/"}, {"/media/a [A]", "/media/a/"}, {"/mnt/b [B]", "/mnt/b/"}});
    return platform;
}

class DriveListViewTest : public ::testing::Test {
  protected:
    ScriptedPlatform platform = withDrives();
    DriveList drives{descriptionOf("drivePSP", ControlKind::DriveList), platform};
    EventRecorder recorder;
    qt::DriveListView view{drives, recorder.sink(), nullptr};
};

TEST_F(DriveListViewTest, ShowsTheDrivesAndTheCurrentOne) {
    ASSERT_EQ(view.count(), 3);
    EXPECT_EQ(view.itemText(1), "/media/a [A]");
    EXPECT_EQ(view.currentIndex(), 0);
}

TEST_F(DriveListViewTest, StepsWithTheArrowKeysRaiseChangeAtEveryStep) {
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(drives.ListIndex(), 1);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(drives.Drive(), "/mnt/b [B]");
    EXPECT_EQ(recorder.count(EventKind::Change), 2);
    // Past the last drive nothing changes, so nothing is raised.
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(recorder.count(EventKind::Change), 2);
}

TEST_F(DriveListViewTest, ThePickIsTheModelsCurrentDriveWhenChangeIsRaised) {
    std::string driveAtChange;
    qt::DriveListView watched(
        drives, [&](EventKind, std::int16_t) { driveAtChange = drives.Drive(); }, nullptr);
    watched.activated(2);
    EXPECT_EQ(driveAtChange, "/mnt/b [B]");
}

TEST_F(DriveListViewTest, ChangesMadeByTheHandlersShowWithoutRaisingChange) {
    drives.selectDriveHolding("/media/a/clips");
    EXPECT_EQ(view.currentIndex(), 1);
    platform.setDrives({{"/", "/"},
                        {"/media/a [A]", "/media/a/"},
                        {"/media/c [C]", "/media/c/"},
                        {"/mnt/b [B]", "/mnt/b/"}});
    drives.Refresh();
    EXPECT_EQ(view.count(), 4);
    EXPECT_EQ(view.currentText(), "/media/a [A]");
    EXPECT_TRUE(recorder.events.empty());
}

}  // namespace
}  // namespace velmora::test
