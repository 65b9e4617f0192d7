#include "controls/DriveList.h"

#include <gtest/gtest.h>

#include "support/ScriptedPlatform.h"

namespace velmora {
namespace {

ControlDescription driveDescription() {
    ControlDescription description;
    description.name = "drivePSP";
    description.kind = ControlKind::DriveList;
    return description;
}

TEST(DriveList, StartsOnTheDriveHoldingAFolderByItsLongestRoot) {
    test::ScriptedPlatform platform;
    platform.setDrives({{"/ [root]", "/"}, {"/media/stick [PSP]", "/media/stick/"}});
    DriveList drives(driveDescription(), platform);
    drives.selectDriveHolding("/media/stick/MP_ROOT");
    EXPECT_EQ(drives.Drive(), "/media/stick [PSP]");
    EXPECT_EQ(drives.Root(), "/media/stick/");
    drives.selectDriveHolding("/media/stick");
    EXPECT_EQ(drives.Root(), "/media/stick/");
    drives.selectDriveHolding("/media/sticky");
    EXPECT_EQ(drives.Root(), "/");
}

TEST(DriveList, RefreshKeepsTheCurrentDriveWhileItIsThere) {
    test::ScriptedPlatform platform;
    platform.setDrives({{"c: [SYSTEM]", "c:\\"}, {"e: [PSP]", "e:\\"}});
    DriveList drives(driveDescription(), platform);
    drives.setListIndex(1);
    platform.setDrives({{"c: [SYSTEM]", "c:\\"}, {"d: [DVD]", "d:\\"}, {"e: [PSP]", "e:\\"}});
    drives.Refresh();
    EXPECT_EQ(drives.Drive(), "e: [PSP]");

    platform.setDrives({{"c: [SYSTEM]", "c:\\"}});
    drives.Refresh();
    EXPECT_EQ(drives.Drive(), "c: [SYSTEM]");

    platform.setDrives({});
    drives.Refresh();
    EXPECT_EQ(drives.Drive(), "");
    EXPECT_EQ(drives.ListIndex(), -1);
}

}  // namespace
}  // namespace velmora
