#include "controls/DriveList.h"

#include <gtest/gtest.h>

#include "support/ScriptedPlatform.h"

namespace velmora {
namespace {

TEST(DriveList, StartsOnTheDriveHoldingAFolderByItsLongestRoot) {
    test::ScriptedPlatform platform;
    platform.setDrives({{"/ [root]", "/"}, {"/media/stick [PSP]", "/media/stick/"}});
    DriveList drives({}, platform);
    for (const auto& [folder, root] :
         {std::pair{"/media/stick/MP_ROOT", "/media/stick/"},
          std::pair{"/media/stick", "/media/stick/"}, std::pair{"/media/sticky", "/"}}) {
        drives.selectDriveHolding(folder);
        EXPECT_EQ(drives.Root(), root) << folder;
    }
}

TEST(DriveList, RefreshKeepsTheCurrentDriveWhileItIsThere) {
    test::ScriptedPlatform platform;
    platform.setDrives({{"c: [SYSTEM]", "c:\\"}, {"e: [PSP]", "e:\\"}});
    DriveList drives({}, platform);
    drives.setListIndex(1);
    platform.setDrives({{"c: [SYSTEM]", "c:\\"}, {"d: [DVD]", "d:\\"}, {"e: [PSP]", "e:\\"}});
    drives.Refresh();
    EXPECT_EQ(drives.Drive(), "e: [PSP]");
    platform.setDrives({{"c: [SYSTEM]", "c:\\"}});
    drives.Refresh();
    EXPECT_EQ(drives.Drive(), "c: [SYSTEM]");
    platform.setDrives({});
    drives.Refresh();
    EXPECT_EQ(drives.ListIndex(), -1);
}

}  // namespace
}  // namespace velmora
