#include <gtest/gtest.h>

#include "posix/MountTable.h"

namespace velmora::posix {
namespace {

// Optional fields come and go before the "-"; paths carry the kernel's escapes; a line cut
// short names no mount.
TEST(MountTable, ReadsEachMountPointAndSourceWithTheEscapesUndone) {
    const std::vector<Mount> mounts = parseMountInfo(
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "40 22 8:17 / /media/me/My\\040Stick rw master:2 shared:7 - vfat /dev/sdb1 rw\n"
        "41 22 0:50 / /mnt/a\\134b\\011c\\04 rw - fuse.sshfs me@host:/x\\040y rw\n"
        "42 22 0:51 / /mnt/cut rw");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[1].mountPoint, "/media/me/My Stick");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].mountPoint, "/mnt/a\\b\tc\\04");
    EXPECT_EQ(mounts[2].source, "me@host:/x y");
}

}  // namespace
}  // namespace velmora::posix
