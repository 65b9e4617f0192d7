#include "FileOperations.h"

#include <fcntl.h>
#include <sys/stat.h>

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
    std::size_t entriesOf(const std::string& name) const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(folder.at(name)), {}));
    }
    FileOperations files;
    test::TempFolder folder;
};

TEST_F(FileOperationsTest, LookupsHonourTheMaskAndFindNamesInAnyLetterCase) {
    folder.write("MP_ROOT/100anv01/CLIP.THM", "thumb");
    folder.write("MP_ROOT/100anv01/clip.mp4", "0123456789");
    folder.write("MP_ROOT/.hidden.THM");
    const auto find = [&](const char* path, int mask) {
        return files.findFirst(folder.at(path), mask);
    };
    EXPECT_EQ(find("MP_ROOT/100ANV01", lookup::kFoldersToo), "100anv01");
    EXPECT_EQ(find("MP_ROOT/100anv01", lookup::kFilesOnly), "");
    EXPECT_EQ(find("mp_root/100ANV01/clip.thm", lookup::kFilesOnly), "CLIP.THM");
    EXPECT_EQ(find("MP_ROOT/100anv01/*.MP4", lookup::kFilesOnly), "clip.mp4");
    EXPECT_EQ(find("MP_ROOT/.hidden.THM", lookup::kFilesOnly), "");
    EXPECT_EQ(find("nowhere/clip.MP4", lookup::kFoldersToo), "");
    const std::string video = folder.at("mp_root/100ANV01/CLIP.MP4");
    EXPECT_TRUE(files.isFolder(folder.at("mp_root/100ANV01")));
    EXPECT_EQ(files.fileLength(video), 10);
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
}

TEST_F(FileOperationsTest, FailuresCarryThePathAndTheSystemsReason) {
    folder.makeFolder("MP_ROOT");
    try {
        files.deleteFile(folder.at("gone.MP4"));
        FAIL() << "deleting a missing file must fail";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.path(), folder.at("gone.MP4"));
        EXPECT_EQ(e.reason(), "No such file or directory");
    }
    EXPECT_THROW(files.deleteFile(folder.at("MP_ROOT")), PlatformError);
    EXPECT_THROW(files.makeFolder(folder.at("mp_root")), PlatformError);
    EXPECT_THROW(files.fileLength(folder.at("MP_ROOT")), PlatformError);
    EXPECT_THROW(files.listFiles(folder.at("missing")), PlatformError);
    EXPECT_THROW(files.freeBytesAvailable(folder.at("missing")), PlatformError);
    EXPECT_GT(files.freeBytesAvailable(folder.path() + "/"), 0u);
}

TEST_F(FileOperationsTest, CopyReplacesTheTargetWholeWithTheSourcesTime) {
    folder.write("src/clip.MP4", std::string(3 << 20, 'v'));
    folder.write("dst/MAQ12301.MP4", "old");
    const struct timespec times[2] = {{1000000000, 0}, {1200000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, folder.at("src/clip.MP4").c_str(), times, 0), 0);
    std::uint64_t reported = 0;
    const auto outcome = files.copyFile(folder.at("src/clip.MP4"), folder.at("dst/MAQ12301.MP4"),
                                        [&](std::uint64_t copied, std::uint64_t total) {
                                            reported = total == 3u << 20 ? copied : 0;
                                            return true;
                                        });
    EXPECT_EQ(outcome, FileOperations::CopyOutcome::Copied);
    EXPECT_EQ(reported, 3u << 20);
    EXPECT_EQ(folder.read("dst/MAQ12301.MP4"), folder.read("src/clip.MP4"));
    struct stat info {};
    ASSERT_EQ(stat(folder.at("dst/MAQ12301.MP4").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(entriesOf("dst"), 1u);
}

TEST_F(FileOperationsTest, ACancelledOrFailedCopyLeavesNothingAndKeepsTheOldTarget) {
    folder.write("src/clip.MP4", std::string(1 << 20, 'v'));
    folder.write("dst/keep.MP4", "old");
    EXPECT_EQ(files.copyFile(folder.at("src/clip.MP4"), folder.at("dst/keep.MP4"),
                             [](std::uint64_t, std::uint64_t) { return false; }),
              FileOperations::CopyOutcome::Cancelled);
    EXPECT_EQ(folder.read("dst/keep.MP4"), "old");
    EXPECT_THROW(files.copyFile(folder.at("src/missing.MP4"), folder.at("dst/new.MP4")),
                 PlatformError);
    EXPECT_THROW(files.copyFile(folder.at("src"), folder.at("dst/new.MP4")), PlatformError);
    EXPECT_THROW(files.copyFile(folder.at("src/clip.MP4"), folder.at("nowhere/new.MP4")),
                 PlatformError);
    EXPECT_EQ(entriesOf("dst"), 1u);
}

}  // namespace
}  // namespace velmora::posix
