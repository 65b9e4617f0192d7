#include "FileOperations.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <filesystem>

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"

namespace velmora::posix {
namespace {

class FileOperationsTest : public ::testing::Test {
  protected:
    // The copy left nothing beside its target: no temporary file.
    bool aloneInItsFolder(const char* name) const {
        return std::filesystem::directory_iterator(folder.at("dst"))->path().filename() == name &&
               std::distance(std::filesystem::directory_iterator(folder.at("dst")), {}) == 1;
    }
    FileOperations files;
    test::TempFolder folder;
};

TEST_F(FileOperationsTest, LookupsFindNamesInAnyLetterCaseListsShowVisibleFilesFailuresTellWhy) {
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
    EXPECT_EQ(find("MP_ROOT/.hidden.THM", lookup::kFilesOnly) + find("x/y", 16), "");
    const std::string video = folder.at("mp_root/100ANV01/CLIP.MP4");
    EXPECT_TRUE(files.isFolder(folder.at("mp_root/100ANV01")));
    EXPECT_EQ(files.fileLength(video), 10);
    files.deleteFile(video);
    EXPECT_FALSE(folder.exists("MP_ROOT/100anv01/clip.mp4"));
    // Only visible regular files are listed, links to them too.
    std::filesystem::create_symlink(folder.at("MP_ROOT/100anv01"), folder.at("MP_ROOT/d.MP4"));
    std::filesystem::create_symlink(folder.at("MP_ROOT/100anv01/CLIP.THM"), folder.at("MP_ROOT/l"));
    EXPECT_EQ(files.listFiles(folder.at("MP_ROOT")), std::vector<std::string>{"l"});
    // Failures carry the path and the system's reason.
    try {
        files.deleteFile(folder.at("gone.MP4"));
        ADD_FAILURE() << "deleting a missing file must fail";
    } catch (const PlatformError& e) {
        EXPECT_EQ(e.what(), "Deleting the file failed for \"" + folder.at("gone.MP4") +
                                "\": No such file or directory");
    }
    EXPECT_THROW(files.deleteFile(folder.at("MP_ROOT")), PlatformError);
    EXPECT_THROW(files.makeFolder(folder.at("mp_root")), PlatformError);
    EXPECT_THROW(files.fileLength(folder.at("MP_ROOT")), PlatformError);
    EXPECT_THROW(files.listFiles(folder.at("missing")), PlatformError);
    EXPECT_THROW(files.freeBytesAvailable(folder.at("missing")), PlatformError);
}

// A copy replaces its target whole, with the source's time; a cancelled or failed one keeps
// the old target. Neither leaves a temporary file.
TEST_F(FileOperationsTest, CopyReplacesTheTargetWholeOrKeepsTheOldOne) {
    folder.write("src/clip.MP4", std::string(3 << 20, 'v'));
    folder.write("dst/MAQ12301.MP4", "old");
    const std::string source = folder.at("src/clip.MP4"), target = folder.at("dst/MAQ12301.MP4");
    EXPECT_EQ(files.copyFile(source, target, [](std::uint64_t, std::uint64_t) { return false; }),
              FileOperations::CopyOutcome::Cancelled);
    EXPECT_EQ(folder.read("dst/MAQ12301.MP4"), "old");
    for (const std::string& from : {folder.at("src/missing.MP4"), folder.at("src")}) {
        EXPECT_THROW(files.copyFile(from, target), PlatformError);
    }
    EXPECT_THROW(files.copyFile(source, folder.at("nowhere/new.MP4")), PlatformError);
    EXPECT_TRUE(aloneInItsFolder("MAQ12301.MP4"));

    const struct timespec times[2] = {{1000000000, 0}, {1200000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), times, 0), 0);
    std::uint64_t reported = 0;
    files.copyFile(source, target, [&](std::uint64_t copied, std::uint64_t total) {
        reported = copied == total ? total : 0;
        return true;
    });
    EXPECT_EQ(reported, 3u << 20);
    EXPECT_EQ(folder.read("dst/MAQ12301.MP4"), folder.read("src/clip.MP4"));
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mtim.tv_sec, 1200000000);
    EXPECT_TRUE(aloneInItsFolder("MAQ12301.MP4"));
}

}  // namespace
}  // namespace velmora::posix
