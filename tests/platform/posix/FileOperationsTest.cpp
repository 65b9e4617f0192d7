#include "FileOperations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"

namespace velmora::posix {
namespace {

class FileOperationsTest : public ::testing::Test {
  protected:
    FileOperations files;
    test::TempFolder folder;
};

TEST_F(FileOperationsTest, FirstMatchLookupHonoursTheAttributeMask) {
    folder.write("clip.MP4");
    folder.write(".hidden.THM");
    folder.makeFolder("100ANV01");
    EXPECT_EQ(files.findFirst(folder.at("clip.MP4"), lookup::kFilesOnly), "clip.MP4");
    EXPECT_EQ(files.findFirst(folder.at("100ANV01"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("100ANV01"), lookup::kFoldersToo), "100ANV01");
    EXPECT_EQ(files.findFirst(folder.at(".hidden.THM"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("missing.THM"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("nowhere/clip.MP4"), lookup::kFoldersToo), "");
    EXPECT_EQ(files.findFirst(folder.at("*.MP4"), lookup::kFilesOnly), "clip.MP4");
}

TEST_F(FileOperationsTest, NamesDifferingOnlyInCaseFindTheStoredFile) {
    folder.write("MP_ROOT/100anv01/CLIP.THM", "thumb");
    folder.write("MP_ROOT/100anv01/clip.mp4", "0123456789");
    const std::string video = folder.at("mp_root/100ANV01/CLIP.MP4");
    EXPECT_EQ(files.findFirst(folder.at("MP_ROOT/100ANV01"), lookup::kFoldersToo), "100anv01");
    EXPECT_EQ(files.findFirst(folder.at("mp_root/100ANV01/clip.thm"), lookup::kFilesOnly),
              "CLIP.THM");
    EXPECT_TRUE(files.isFolder(folder.at("mp_root/100ANV01")));
    EXPECT_EQ(files.fileLength(video), 10);
    EXPECT_EQ(files.listFiles(folder.at("MP_ROOT/100ANV01")).size(), 2u);
    files.deleteFile(video);
    EXPECT_FALSE(folder.exists("MP_ROOT/100anv01/clip.mp4"));
}

TEST_F(FileOperationsTest, ListsOnlyVisibleRegularFiles) {
    folder.write("a.MP4");
    folder.write(".b.MP4");
    folder.makeFolder("c.MP4");
    std::filesystem::create_symlink(folder.at("a.MP4"), folder.at("link.MP4"));
    std::filesystem::create_symlink(folder.at("c.MP4"), folder.at("dirlink.MP4"));
    auto names = files.listFiles(folder.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.MP4", "link.MP4"}));
    EXPECT_THROW(files.listFiles(folder.at("missing")), PlatformError);
}

TEST_F(FileOperationsTest, DeleteAndMakeFolderReportErrorsWithTheSystemReason) {
    folder.makeFolder("MP_ROOT");
    try {
        files.deleteFile(folder.at("gone.MP4"));
        FAIL() << "deleting a missing file must fail";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.path(), folder.at("gone.MP4"));
        EXPECT_EQ(e.reason(), "No such file or directory");
    }
    EXPECT_THROW(files.deleteFile(folder.at("MP_ROOT")), PlatformError);
    EXPECT_THROW(files.makeFolder(folder.at("MP_ROOT")), PlatformError);
    EXPECT_THROW(files.makeFolder(folder.at("mp_root")), PlatformError);
    EXPECT_THROW(files.makeFolder(folder.at("no/such/parent")), PlatformError);
    files.makeFolder(folder.at("MP_ROOT/100ANV01"));
    EXPECT_TRUE(files.isFolder(folder.at("MP_ROOT/100ANV01")));
    EXPECT_THROW(files.fileLength(folder.at("MP_ROOT")), PlatformError);
}

TEST_F(FileOperationsTest, CopyReplacesTheTargetAndKeepsTheModificationTime) {
    folder.write("src/clip.MP4", std::string(3 << 20, 'v'));
    folder.write("dst/MAQ12301.MP4", "old");
    const struct timespec times[2] = {{1000000000, 0}, {1200000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, folder.at("src/clip.MP4").c_str(), times, 0), 0);

    std::vector<std::uint64_t> progress;
    const auto outcome = files.copyFile(folder.at("src/clip.MP4"), folder.at("dst/MAQ12301.MP4"),
                                        [&](std::uint64_t copied, std::uint64_t total) {
                                            EXPECT_EQ(total, 3u << 20);
                                            progress.push_back(copied);
                                            return true;
                                        });
    EXPECT_EQ(outcome, FileOperations::CopyOutcome::Copied);
    EXPECT_EQ(folder.read("dst/MAQ12301.MP4"), folder.read("src/clip.MP4"));
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 3u << 20);
    struct stat info {};
    ASSERT_EQ(stat(folder.at("dst/MAQ12301.MP4").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(std::filesystem::directory_iterator(folder.at("dst"))->path().filename(),
              "MAQ12301.MP4");  // nothing else left in the folder
}

TEST_F(FileOperationsTest, CancelledOrFailedCopyLeavesNothingAndKeepsTheOldTarget) {
    folder.write("src/clip.MP4", std::string(1 << 20, 'v'));
    folder.write("dst/keep.MP4", "old");
    const auto outcome = files.copyFile(folder.at("src/clip.MP4"), folder.at("dst/keep.MP4"),
                                        [](std::uint64_t, std::uint64_t) { return false; });
    EXPECT_EQ(outcome, FileOperations::CopyOutcome::Cancelled);
    EXPECT_EQ(folder.read("dst/keep.MP4"), "old");

    EXPECT_THROW(files.copyFile(folder.at("src/missing.MP4"), folder.at("dst/new.MP4")),
                 PlatformError);
    EXPECT_THROW(files.copyFile(folder.at("src/clip.MP4"), folder.at("nowhere/new.MP4")),
                 PlatformError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.at("dst")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(FileOperationsTest, ReadOnlyTargetFolderFailsWithItsReason) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    folder.write("src/clip.MP4", "video");
    folder.makeFolder("dst");
    chmod(folder.at("dst").c_str(), 0555);
    try {
        files.copyFile(folder.at("src/clip.MP4"), folder.at("dst/clip.MP4"));
        FAIL() << "copying into a read-only folder must fail";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.reason(), "Permission denied");
    }
}

TEST_F(FileOperationsTest, FreeSpaceIsTheSpaceAvailableToTheCaller) {
    struct statvfs info {};
    ASSERT_EQ(statvfs(folder.path().c_str(), &info), 0);
    const auto expected = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    const auto measured = files.freeBytesAvailable(folder.path() + "/");
    EXPECT_NEAR(static_cast<double>(measured), static_cast<double>(expected), 64.0 * (1 << 20));
    EXPECT_THROW(files.freeBytesAvailable(folder.at("missing")), PlatformError);
}

}  // namespace
}  // namespace velmora::posix
