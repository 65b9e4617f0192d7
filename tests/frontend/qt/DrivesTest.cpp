#include "Drives.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(DrivesTest, AnEntryIsTheMountPointWithItsLabelAndItsRootEndsInASeparator) {
    const DriveEntry stick = qt::driveEntry("/media/me/PSP STICK", "PSP STICK");
    EXPECT_EQ(stick.text, "/media/me/PSP STICK [PSP STICK]");
    EXPECT_EQ(stick.root, "/media/me/PSP STICK/");
    const DriveEntry root = qt::driveEntry("/", "");
    EXPECT_EQ(root.text, "/");
    EXPECT_EQ(root.root, "/");
}

TEST(DrivesTest, OnlyVolumesMountedWhereSticksAreMountedCountAsRemovable) {
    for (const char* stick : {"/media/PSP", "/media/me/PSP", "/run/media/me/PSP", "/mnt/card"}) {
        EXPECT_TRUE(qt::isRemovableMountPoint(stick)) << stick;
    }
    for (const char* other : {"/", "/media", "/media/", "/mnt/", "/home", "/boot/efi",
                              "/media/me/PSP/inner", "/mnt/a/b", "/run/user/1000", "/mediax/PSP"}) {
        EXPECT_FALSE(qt::isRemovableMountPoint(other)) << other;
    }
}

TEST(DrivesTest, TheRootFileSystemComesFirstAndNoDriveIsListedTwice) {
    const std::vector<DriveEntry> drives = qt::userVisibleDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives.front().root, "/");
    for (std::size_t i = 1; i < drives.size(); ++i) {
        EXPECT_NE(drives[i].root, drives[i - 1].root);
        EXPECT_TRUE(qt::isRemovableMountPoint(drives[i].root.substr(0, drives[i].root.size() - 1)))
            << drives[i].root;
    }
}

}  // namespace
}  // namespace velmora::test
