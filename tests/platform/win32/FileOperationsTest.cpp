#include "FileOperations.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"
#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

using test::TempFolder;

class Win32FileOperations : public ::testing::Test {
  protected:
    void setAttribute(const std::string& relative, DWORD attribute) const {
        const std::wstring path = toWide(folder.at(relative));
        SetFileAttributesW(path.c_str(), GetFileAttributesW(path.c_str()) | attribute);
    }
    std::vector<std::string> sortedFiles() const {
        std::vector<std::string> names = files.listFiles(folder.path());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder;
    FileOperations files;
};

TEST_F(Win32FileOperations, FirstMatchGivesTheStoredNameOfVisibleEntriesOnly) {
    folder.write("Clip.THM", "x");
    folder.write("hidden.THM", "x");
    folder.write("system.THM", "x");
    folder.makeFolder("100ANV01");
    setAttribute("hidden.THM", FILE_ATTRIBUTE_HIDDEN);
    setAttribute("system.THM", FILE_ATTRIBUTE_SYSTEM);

    EXPECT_EQ(files.findFirst(folder.at("clip.thm"), lookup::kFilesOnly), "Clip.THM");
    EXPECT_EQ(files.findFirst(folder.at("hidden.THM"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("system.THM"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("100ANV01"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("100ANV01"), lookup::kFoldersToo), "100ANV01");
    EXPECT_EQ(files.findFirst(folder.at("*.thm"), lookup::kFilesOnly), "Clip.THM");
}

TEST_F(Win32FileOperations, FirstMatchInAMissingFolderFindsNothing) {
    EXPECT_EQ(files.findFirst(folder.at("missing/clip.THM"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("missing.THM"), lookup::kFoldersToo), "");
}

TEST_F(Win32FileOperations, ListsVisibleFilesWithNamesInAnyScript) {
    const std::string snowman = "\xE2\x98\x83 \xE6\x9D\xB1\xE4\xBA\xAC.MP4";
    folder.write(snowman, "x");
    folder.write("b.mp4", "x");
    folder.write("hidden.MP4", "x");
    folder.makeFolder("folder.MP4");
    setAttribute("hidden.MP4", FILE_ATTRIBUTE_HIDDEN);

    EXPECT_EQ(sortedFiles(), (std::vector<std::string>{"b.mp4", snowman}));
    EXPECT_EQ(files.findFirst(folder.at(snowman), lookup::kFilesOnly), snowman);
    EXPECT_EQ(files.fileLength(folder.at(snowman)), 1);
}

TEST_F(Win32FileOperations, ListingAFolderThatIsNotThereFails) {
    EXPECT_THROW(files.listFiles(folder.at("missing")), PlatformError);
    folder.write("file.MP4", "x");
    EXPECT_THROW(files.listFiles(folder.at("file.MP4")), PlatformError);
    EXPECT_TRUE(files.listFiles(folder.path() + "\\").size() == 1);
}

TEST_F(Win32FileOperations, FolderTestLengthDeleteAndMakeFolder) {
    folder.writeSized("big.MP4", 3'000'000'000ull);
    EXPECT_TRUE(files.isFolder(folder.path()));
    EXPECT_TRUE(files.isFolder(folder.path() + "\\"));
    EXPECT_FALSE(files.isFolder(folder.at("big.MP4")));
    EXPECT_FALSE(files.isFolder(""));
    EXPECT_EQ(files.fileLength(folder.at("BIG.mp4")), 3'000'000'000ll);
    EXPECT_THROW(files.fileLength(folder.path()), PlatformError);

    files.deleteFile(folder.at("big.mp4"));
    EXPECT_FALSE(folder.exists("big.MP4"));
    EXPECT_THROW(files.deleteFile(folder.at("big.MP4")), PlatformError);

    files.makeFolder(folder.at("MP_ROOT"));
    EXPECT_TRUE(files.isFolder(folder.at("mp_root")));
    EXPECT_THROW(files.makeFolder(folder.at("MP_ROOT")), PlatformError);
}

TEST_F(Win32FileOperations, AFailureNamesTheOperationThePathAndTheSystemReason) {
    try {
        files.fileLength(folder.at("missing.MP4"));
        FAIL() << "no failure";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.operation(), "Reading the size of the file");
        EXPECT_EQ(error.path(), folder.at("missing.MP4"));
        EXPECT_FALSE(error.reason().empty());
        EXPECT_NE(error.reason().back(), '\n');
    }
}

TEST_F(Win32FileOperations, CopyReplacesTheDestinationAndLeavesNothingElse) {
    folder.write("from.THM", "new bytes");
    folder.write("to.THM", "old");
    std::uint64_t reported = 0;
    const auto outcome = files.copyFile(folder.at("from.THM"), folder.at("to.THM"),
                                        [&](std::uint64_t copied, std::uint64_t total) {
                                            reported = copied;
                                            return copied <= total;
                                        });
    EXPECT_EQ(outcome, FileOperations::CopyOutcome::Copied);
    EXPECT_EQ(folder.read("to.THM"), "new bytes");
    EXPECT_EQ(reported, 9u);
    EXPECT_EQ(sortedFiles(), (std::vector<std::string>{"from.THM", "to.THM"}));
}

TEST_F(Win32FileOperations, ACancelledOrFailedCopyLeavesTheDestinationAsItWas) {
    folder.writeSized("from.MP4", 5'000'000);
    folder.write("to.MP4", "old");
    const auto outcome = files.copyFile(folder.at("from.MP4"), folder.at("to.MP4"),
                                        [](std::uint64_t, std::uint64_t) { return false; });
    EXPECT_EQ(outcome, FileOperations::CopyOutcome::Cancelled);
    EXPECT_TRUE(folder.read("to.MP4") == "old");

    EXPECT_THROW(files.copyFile(folder.at("missing.MP4"), folder.at("to.MP4")), PlatformError);
    EXPECT_THROW(files.copyFile(folder.at("from.MP4"), folder.at("missing\\to.MP4")),
                 PlatformError);
    EXPECT_TRUE(folder.read("to.MP4") == "old");
    EXPECT_EQ(sortedFiles(), (std::vector<std::string>{"from.MP4", "to.MP4"}));
}

TEST_F(Win32FileOperations, ACopyOfAReadOnlyFileCanBeReplacedLater) {
    folder.write("from.THM", "read-only bytes");
    setAttribute("from.THM", FILE_ATTRIBUTE_READONLY);
    files.copyFile(folder.at("from.THM"), folder.at("to.THM"));
    files.copyFile(folder.at("from.THM"), folder.at("to.THM"));
    EXPECT_EQ(folder.read("to.THM"), "read-only bytes");
    SetFileAttributesW(toWide(folder.at("from.THM")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32FileOperations, FreeSpaceAndWorkingFolder) {
    EXPECT_GT(files.freeBytesAvailable(folder.path().substr(0, 3)), 0u);
    EXPECT_THROW(files.freeBytesAvailable(folder.at("missing\\")), PlatformError);
    EXPECT_TRUE(files.isFolder(files.workingFolder()));
}

}  // namespace
}  // namespace velmora::win32
