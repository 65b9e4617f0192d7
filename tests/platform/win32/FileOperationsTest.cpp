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

class Win32FileOperations : public ::testing::Test {
  protected:
    void setAttribute(const std::string& relative, DWORD attribute) const {
        SetFileAttributesW(toWide(folder.at(relative)).c_str(), attribute);
    }
    std::vector<std::string> sortedFiles() const {
        std::vector<std::string> names = files.listFiles(folder.path());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder folder;
    FileOperations files;
};

TEST_F(Win32FileOperations, LookupsAndListsSeeVisibleEntriesByTheirStoredNamesInAnyScript) {
    const std::string snowman = "\xE2\x98\x83 \xE6\x9D\xB1\xE4\xBA\xAC.MP4";
    folder.write(snowman, "x");
    folder.write("Clip.THM", "x");
    folder.write("hidden.THM", "x");
    folder.write("system.MP4", "x");
    folder.makeFolder("100ANV01");
    setAttribute("hidden.THM", FILE_ATTRIBUTE_HIDDEN);
    setAttribute("system.MP4", FILE_ATTRIBUTE_SYSTEM);

    EXPECT_EQ(sortedFiles(), (std::vector<std::string>{"Clip.THM", snowman}));
    EXPECT_EQ(files.findFirst(folder.at("clip.thm"), lookup::kFilesOnly), "Clip.THM");
    EXPECT_EQ(files.findFirst(folder.at(snowman), lookup::kFilesOnly), snowman);
    EXPECT_EQ(files.findFirst(folder.at("hidden.THM"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("100ANV01"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("100anv01"), lookup::kFoldersToo), "100ANV01");
    EXPECT_EQ(files.findFirst(folder.at("missing\\clip.THM"), lookup::kFilesOnly), "");
    EXPECT_THROW(files.listFiles(folder.at("missing")), PlatformError);
    EXPECT_THROW(files.listFiles(folder.at("Clip.THM")), PlatformError);
}

TEST_F(Win32FileOperations, FolderTestLengthDeleteAndMakeFolder) {
    folder.writeSized("big.MP4", 3'000'000'000ull);
    EXPECT_TRUE(files.isFolder(folder.path() + "\\"));
    EXPECT_FALSE(files.isFolder(folder.at("big.MP4")));
    EXPECT_EQ(files.fileLength(folder.at("BIG.mp4")), 3'000'000'000ll);
    files.deleteFile(folder.at("big.mp4"));
    EXPECT_FALSE(folder.exists("big.MP4"));
    EXPECT_THROW(files.deleteFile(folder.at("big.MP4")), PlatformError);
    files.makeFolder(folder.at("MP_ROOT"));
    EXPECT_TRUE(files.isFolder(folder.at("mp_root")));
    EXPECT_THROW(files.makeFolder(folder.at("MP_ROOT")), PlatformError);
    EXPECT_GT(files.freeBytesAvailable(folder.path().substr(0, 3)), 0u);
    try {
        files.fileLength(folder.at("missing.MP4"));
        ADD_FAILURE() << "no failure";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.path(), folder.at("missing.MP4"));
        EXPECT_TRUE(!error.reason().empty() && error.reason().back() != '\n');
    }
}

TEST_F(Win32FileOperations, ACopyReplacesTheDestinationWholeOrLeavesItAsItWas) {
    folder.writeSized("from.MP4", 5'000'000);
    folder.write("to.MP4", "old");
    folder.write("read-only.THM", "read-only bytes");
    setAttribute("read-only.THM", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.copyFile(folder.at("from.MP4"), folder.at("to.MP4"),
                             [](std::uint64_t, std::uint64_t) { return false; }),
              FileOperations::CopyOutcome::Cancelled);
    EXPECT_THROW(files.copyFile(folder.at("missing.MP4"), folder.at("to.MP4")), PlatformError);
    EXPECT_EQ(folder.read("to.MP4"), "old");
    // A copy keeps the source's attributes, and must still be replaceable by the next copy.
    files.copyFile(folder.at("read-only.THM"), folder.at("to.MP4"));
    files.copyFile(folder.at("read-only.THM"), folder.at("to.MP4"));
    EXPECT_EQ(folder.read("to.MP4"), "read-only bytes");
    EXPECT_EQ(sortedFiles(), (std::vector<std::string>{"from.MP4", "read-only.THM", "to.MP4"}));
    setAttribute("read-only.THM", FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace velmora::win32
