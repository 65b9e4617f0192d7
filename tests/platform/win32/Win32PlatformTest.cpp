#include "win32/Win32Platform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "FileOperations.h"
#include "SampleJpeg.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"
#include "win32/Drives.h"
#include "win32/ShellCopy.h"
#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

using test::TempFolder;

// What only Windows has: file attributes, names outside the ANSI code page, sizes past 4 GB.
TEST(Win32FileOperations, AttributesNamesInAnyScriptAndLargeFiles) {
    const TempFolder folder;
    const FileOperations files;
    const auto setAttribute = [&](const std::string& name, DWORD attribute) {
        SetFileAttributesW(toWide(folder.at(name)).c_str(), attribute);
    };
    const std::string snowman = "\xE2\x98\x83 \xE6\x9D\xB1\xE4\xBA\xAC.MP4";
    folder.write(snowman, "x");
    folder.write("hidden.THM", "x");
    folder.write("system.MP4", "x");
    folder.write("read-only.THM", "read-only bytes");
    folder.writeSized("big.MP4", 5'000'000'000ull);
    setAttribute("hidden.THM", FILE_ATTRIBUTE_HIDDEN);
    setAttribute("system.MP4", FILE_ATTRIBUTE_SYSTEM);
    setAttribute("read-only.THM", FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(files.listFiles(folder.path()).size(), 3u);  // the snowman, read-only and big
    EXPECT_EQ(files.findFirst(folder.at(snowman), lookup::kFilesOnly), snowman);
    EXPECT_EQ(files.findFirst(folder.at("hidden.THM"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.findFirst(folder.at("system.MP4"), lookup::kFilesOnly), "");
    EXPECT_EQ(files.fileLength(folder.at("BIG.mp4")), 5'000'000'000ll);
    // A copy keeps the source's attributes, and must still be replaceable by the next copy.
    files.copyFile(folder.at("read-only.THM"), folder.at(snowman));
    files.copyFile(folder.at("read-only.THM"), folder.at(snowman));
    EXPECT_EQ(folder.read(snowman), "read-only bytes");
    setAttribute("read-only.THM", FILE_ATTRIBUTE_NORMAL);
    setAttribute(snowman, FILE_ATTRIBUTE_NORMAL);
}

// A drive's type and whether it holds a medium; the entry shown, and whether its label was read.
using DriveCase = std::tuple<UINT, bool, const char*, bool>;
class Win32DriveEntry : public ::testing::TestWithParam<DriveCase> {};

// A network drive whose server is gone, or an empty disc drive, would hold the list up for
// as long as its label is asked for.
TEST_P(Win32DriveEntry, AsksOnlyWhatTheDriveTypeAnswersAtOnce) {
    const auto [type, medium, text, labelReadExpected] = GetParam();
    bool labelRead = false;
    const DriveEntry entry = describeDrive(
        L"E:\\", {[&](auto&) { return type; }, [&](auto&) { return medium; },
                  [&](auto&) { return labelRead = true, std::wstring(L"\u00C9T\u00C9"); },
                  [](auto&) { return std::wstring(L"\\\\nas\\videos"); }});
    EXPECT_EQ(entry.text, text);
    EXPECT_EQ(entry.root, "e:\\");
    EXPECT_EQ(labelRead, labelReadExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, Win32DriveEntry,
    ::testing::Values(DriveCase(DRIVE_FIXED, true, "e: [\xC3\x89T\xC3\x89]", true),
                      DriveCase(DRIVE_REMOVABLE, true, "e: [\xC3\x89T\xC3\x89]", true),
                      DriveCase(DRIVE_REMOVABLE, false, "e:", false),
                      DriveCase(DRIVE_CDROM, false, "e:", false),
                      DriveCase(DRIVE_REMOTE, true, "e: [\\\\nas\\videos]", false),
                      DriveCase(DRIVE_NO_ROOT_DIR, true, "e:", false)));

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

// Some shells report success for a copy that did not arrive (Wine on a full drive): a copy
// counts only when it arrived whole.
TEST(Win32ShellCopy, CopiesFromATypedFolderUnderTheGivenNameAndCountsOnlyWholeCopies) {
    Win32Platform platform;
    TempFolder folder;
    const std::string video = "Holiday \xE2\x98\x83.mp4";
    const std::string copy = folder.at("100ANV01\\MAQ12301.MP4");
    folder.writeSized(video, 2'000'000);
    folder.makeFolder("100ANV01");
    std::string typed = folder.path();
    std::replace(typed.begin(), typed.end(), '\\', '/');
    const ShellCopyResult result =
        platform.shellCopy(typed + "//" + video, folder.at("100ANV01\\\\MAQ12301.MP4"));
    EXPECT_EQ(result.code, 0);
    EXPECT_FALSE(result.aborted);
    EXPECT_TRUE(arrivedWhole(folder.at(video), copy));
    folder.writeSized("100ANV01/MAQ12301.MP4", 1'999'999);
    EXPECT_FALSE(arrivedWhole(folder.at(video), copy));
    EXPECT_FALSE(arrivedWhole(folder.at(video), folder.at("missing.MP4")));
}

TEST(Win32AboutPage, ThePageIsOneFileInTheTemporaryFolderWrittenOnce) {
    Win32Platform platform;
    const std::string page = platform.aboutPageAddress();
    WIN32_FILE_ATTRIBUTE_DATA first{}, second{};
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
