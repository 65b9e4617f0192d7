#include "win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "SampleJpeg.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"
#include "win32/Drives.h"
#include "win32/FullPath.h"
#include "win32/ShellCopy.h"
#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

using test::TempFolder;

struct DriveCase {
    UINT type;
    bool medium;
    const char* text;
    bool labelRead;
};

class Win32DriveEntry : public ::testing::TestWithParam<DriveCase> {};

// A network drive whose server is gone, or an empty disc drive, would hold the list up for
// as long as its label is asked for.
TEST_P(Win32DriveEntry, AsksOnlyWhatTheDriveTypeAnswersAtOnce) {
    bool labelRead = false;
    const DriveEntry entry = describeDrive(
        L"E:\\", {[](auto&) { return GetParam().type; }, [](auto&) { return GetParam().medium; },
                  [&](auto&) { return labelRead = true, std::wstring(L"\u00C9T\u00C9"); },
                  [](auto&) { return std::wstring(L"\\\\nas\\videos"); }});
    EXPECT_EQ(entry.text, GetParam().text);
    EXPECT_EQ(entry.root, "e:\\");
    EXPECT_EQ(labelRead, GetParam().labelRead);
}

INSTANTIATE_TEST_SUITE_P(
    Types, Win32DriveEntry,
    ::testing::Values(DriveCase{DRIVE_FIXED, true, "e: [\xC3\x89T\xC3\x89]", true},
                      DriveCase{DRIVE_REMOVABLE, true, "e: [\xC3\x89T\xC3\x89]", true},
                      DriveCase{DRIVE_REMOVABLE, false, "e:", false},
                      DriveCase{DRIVE_CDROM, false, "e:", false},
                      DriveCase{DRIVE_REMOTE, true, "e: [\\\\nas\\videos]", false},
                      DriveCase{DRIVE_NO_ROOT_DIR, true, "e:", false}));

TEST(Win32FullPath, TheShellGetsAbsoluteBackslashedPathsOfAnyLength) {
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd');
    EXPECT_EQ(fullPath(L"C:/Videos/clip.MP4"), L"C:\\Videos\\clip.MP4");
    EXPECT_EQ(fullPath(L"E:\\\\clip.MP4"), L"E:\\clip.MP4");
    EXPECT_EQ(fullPath(L"C:\\a\\.\\b\\..\\c"), L"C:\\a\\c");
    EXPECT_EQ(fullPath(L"C:/" + std::wstring(300, L'd')), deep);
    EXPECT_EQ(fullPath(L"relative").find(L":\\"), 1u);
}

TEST(Win32Pictures, AThumbnailIsDecodedByItsContentEvenWhileAnotherProgramWritesIt) {
    Win32Platform platform;
    TempFolder folder;
    folder.write("clip.THM", test::kSampleJpeg);
    folder.write("notes.THM", "not a picture at all");
    const HANDLE writer = CreateFileW(toWide(folder.at("clip.THM")).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const auto picture = platform.loadPicture(folder.at("CLIP.thm"));
    CloseHandle(writer);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 16);
    EXPECT_EQ(picture->height(), 12);
    EXPECT_EQ(platform.loadPicture(folder.at("notes.THM")), nullptr);
    EXPECT_THROW(platform.loadPicture(folder.at("missing.THM")), PlatformError);
}

TEST(Win32Random, DrawsStayBelowOneAndFollowTheClock) {
    Win32Platform platform;
    double previous = -1;
    int repeats = 0;
    for (int i = 0; i < 200; ++i) {
        const double draw = platform.randomDraw();
        EXPECT_TRUE(draw >= 0.0 && draw < 1.0);
        repeats += draw == previous ? 1 : 0;
        previous = draw;
    }
    EXPECT_LT(repeats, 5);  // a coarse clock would give the same draw again and again
}

// Some shells report success for a copy that did not arrive (Wine on a full drive).
TEST(Win32ShellCopy, ACopyCountsOnlyWhenItArrivedWhole) {
    TempFolder folder;
    folder.write("clip.MP4", "twelve bytes");
    folder.write("whole.MP4", "twelve bytes");
    folder.write("partial.MP4", "twelve");
    EXPECT_TRUE(arrivedWhole(folder.at("clip.MP4"), folder.at("whole.MP4")));
    EXPECT_FALSE(arrivedWhole(folder.at("clip.MP4"), folder.at("partial.MP4")));
    EXPECT_FALSE(arrivedWhole(folder.at("clip.MP4"), folder.at("missing.MP4")));
}

TEST(Win32ShellCopy, TheShellCopiesFromATypedFolderUnderTheGivenName) {
    Win32Platform platform;
    TempFolder folder;
    folder.writeSized("Holiday \xE2\x98\x83.mp4", 2'000'000);
    folder.makeFolder("100ANV01");
    std::string typed = folder.path();
    std::replace(typed.begin(), typed.end(), '\\', '/');
    const ShellCopyResult result = platform.shellCopy(typed + "//Holiday \xE2\x98\x83.mp4",
                                                      folder.at("100ANV01\\\\MAQ12301.MP4"));
    EXPECT_EQ(result.code, 0);
    EXPECT_FALSE(result.aborted);
    EXPECT_EQ(platform.fileLength(folder.at("100ANV01\\MAQ12301.MP4")), 2'000'000);
}

TEST(Win32AboutPage, ThePageIsOneFileInTheTemporaryFolderWrittenOnce) {
    Win32Platform platform;
    const std::string page = platform.aboutPageAddress();
    WIN32_FILE_ATTRIBUTE_DATA first{};
    WIN32_FILE_ATTRIBUTE_DATA second{};
    GetFileAttributesExW(toWide(page).c_str(), GetFileExInfoStandard, &first);
    Sleep(50);
    EXPECT_EQ(platform.aboutPageAddress(), page);
    ASSERT_TRUE(GetFileAttributesExW(toWide(page).c_str(), GetFileExInfoStandard, &second));
    EXPECT_EQ(CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime), 0);
    wchar_t temp[MAX_PATH + 1] = {};
    EXPECT_EQ(toWide(page), std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp)) + L"Velmora.html");
}

}  // namespace
}  // namespace velmora::win32
