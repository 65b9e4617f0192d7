#include "win32/Win32Platform.h"

#include <gtest/gtest.h>

#include "SampleJpeg.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"
#include "win32/Drives.h"
#include "win32/ShellCopy.h"
#include "win32/WicPicture.h"

namespace velmora::win32 {
namespace {

using test::TempFolder;

TEST(Win32Drives, AnEntryIsTheLowerCaseLetterAndTheLabelInBrackets) {
    const DriveEntry labelled = driveEntry(L'E', L"PSP");
    EXPECT_EQ(labelled.text, "e: [PSP]");
    EXPECT_EQ(labelled.root, "e:\\");
    EXPECT_EQ(driveEntry(L'c', L"").text, "c:");
    EXPECT_EQ(driveEntry(L'F', L"\u00C9T\u00C9").text, "f: [\xC3\x89T\xC3\x89]");
}

TEST(Win32Drives, EveryDriveOfTheMachineIsListedByItsRoot) {
    Win32Platform platform;
    const std::vector<DriveEntry> drives = platform.listDrives();
    ASSERT_FALSE(drives.empty());
    bool hasC = false;
    for (const DriveEntry& drive : drives) {
        EXPECT_EQ(drive.root, drive.text.substr(0, 2) + "\\");
        hasC = hasC || drive.root == "c:\\";
    }
    EXPECT_TRUE(hasC);
}

TEST(Win32Pictures, AThumbnailIsDecodedByItsContentWhateverItsName) {
    Win32Platform platform;
    TempFolder folder;
    folder.write("clip.THM", test::kSampleJpeg);
    folder.write("notes.THM", "not a picture at all");

    const auto picture = platform.loadPicture(folder.at("CLIP.thm"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 16);
    EXPECT_EQ(picture->height(), 12);
    EXPECT_NE(dynamic_cast<const WicPicture*>(picture.get()), nullptr);
    EXPECT_EQ(platform.loadPicture(folder.at("notes.THM")), nullptr);
    EXPECT_THROW(platform.loadPicture(folder.at("missing.THM")), PlatformError);
}

TEST(Win32Random, DrawsStayBelowOneAndFollowTheClock) {
    Win32Platform platform;
    double previous = -1;
    int repeats = 0;
    for (int i = 0; i < 200; ++i) {
        const double draw = platform.randomDraw();
        EXPECT_GE(draw, 0.0);
        EXPECT_LT(draw, 1.0);
        repeats += draw == previous ? 1 : 0;
        previous = draw;
    }
    // Reseeding from a coarse clock would give the same draw again and again.
    EXPECT_LT(repeats, 5);
}

TEST(Win32ShellCopy, ACopyCountsOnlyWhenItArrivedWhole) {
    TempFolder folder;
    folder.write("clip.MP4", "twelve bytes");
    folder.write("whole.MP4", "twelve bytes");
    folder.write("partial.MP4", "twelve");
    EXPECT_TRUE(arrivedWhole(folder.at("clip.MP4"), folder.at("whole.MP4")));
    EXPECT_FALSE(arrivedWhole(folder.at("clip.MP4"), folder.at("partial.MP4")));
    EXPECT_FALSE(arrivedWhole(folder.at("clip.MP4"), folder.at("missing.MP4")));
    EXPECT_FALSE(arrivedWhole(folder.at("missing.MP4"), folder.at("missing.MP4")));
}

TEST(Win32ShellCopy, TheShellCopiesUnderTheGivenName) {
    Win32Platform platform;
    TempFolder folder;
    folder.writeSized("Holiday \xE2\x98\x83.mp4", 2'000'000);
    folder.makeFolder("100ANV01");
    const ShellCopyResult result = platform.shellCopy(folder.at("Holiday \xE2\x98\x83.mp4"),
                                                      folder.at("100ANV01\\MAQ12301.MP4"));
    EXPECT_EQ(result.code, 0);
    EXPECT_FALSE(result.aborted);
    EXPECT_EQ(platform.fileLength(folder.at("100ANV01\\MAQ12301.MP4")), 2'000'000);
}

TEST(Win32AboutPage, ThePageIsWrittenWhereTheBrowserCanOpenIt) {
    Win32Platform platform;
    const std::string page = platform.aboutPageAddress();
    EXPECT_TRUE(page.ends_with("Velmora.html"));
    EXPECT_NE(platform.findFirst(page, lookup::kFilesOnly), "");
}

}  // namespace
}  // namespace velmora::win32
