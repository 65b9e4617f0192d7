#include "win32/Win32Platform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "FileOperations.h"
#include "SampleJpeg.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"
#include "win32/copy/CopyRoute.h"
#include "win32/copy/ShellCopy.h"
#include "win32/files/DriveRoot.h"
#include "win32/files/Drives.h"
#include "win32/files/FullPath.h"
#include "win32/text/SystemError.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

using test::TempFolder;

// File attributes, names outside the ANSI code page, compared in every script. (Sizes past 4 GB:
// SourceSide's figure, which these calls give under Wine.) The about page is one file in the
// temporary folder, written once. A cancel, or a failure the shell has shown, is not told twice;
// its own codes are told by what they mean. Wine reports success on a full drive: a shell copy
// counts only when it arrived whole. A decode that outlasts a drive's silence limit is work, not
// the drive's silence.
TEST(Win32FileOperations, AttributesNamesTheAboutPageTheShellCopysOutcomeAndDeepThumbnails) {
    const TempFolder folder;
    const FileOperations files;
    const std::string snowman = "\xE2\x98\x83 \xE6\x9D\xB1\xE4\xBA\xAC.MP4";
    for (const auto& [name, attribute, found] :
         {std::tuple{snowman, FILE_ATTRIBUTE_NORMAL, true},
          {"hidden.THM", FILE_ATTRIBUTE_HIDDEN, false},
          {"system.MP4", FILE_ATTRIBUTE_SYSTEM, false},
          {"read-only.THM", FILE_ATTRIBUTE_READONLY, true}}) {
        folder.write(name, "x");
        SetFileAttributesW(toWide(folder.at(name)).c_str(), attribute);
        EXPECT_EQ(files.findFirst(folder.at(name), lookup::kFilesOnly), found ? name : "");
    }
    EXPECT_EQ(files.listFiles(folder.path()).size(), 2u);  // the snowman and read-only
    EXPECT_EQ(files.volumeOf(folder.at(snowman)), files.volumeOf(folder.path()));
    EXPECT_THROW(files.volumeOf(folder.at("missing")), PlatformError);
    SetFileAttributesW(toWide(folder.at("read-only.THM")).c_str(), FILE_ATTRIBUTE_NORMAL);
    Win32Platform platform(std::chrono::milliseconds(200), [](const std::string& bytes) {
        Sleep(600);
        return decodePicture(bytes);
    });
    EXPECT_EQ(platform.nameKey("\xC3\xA9t\xC3\xA9.thm"), platform.nameKey("\xC3\x89T\xC3\x89.THM"));
    EXPECT_NE(platform.nameKey("a.THM"), platform.nameKey("b.THM"));
    // In a folder of the test's own: other test programs may write the page meanwhile.
    const std::wstring temporary = toWide(folder.path()) + L"\\";
    wchar_t before[MAX_PATH + 1] = {};
    const bool hadTmp = GetEnvironmentVariableW(L"TMP", before, MAX_PATH + 1) > 0;
    SetEnvironmentVariableW(L"TMP", temporary.c_str());
    const std::string page = platform.aboutPageAddress();
    EXPECT_EQ(toWide(page), temporary + L"Velmora.html");
    // A time the page can't have once written again.
    const std::filesystem::path file(toWide(page));
    const auto longAgo = std::filesystem::last_write_time(file) - std::chrono::hours(24 * 3650);
    std::filesystem::last_write_time(file, longAgo);
    EXPECT_EQ(platform.aboutPageAddress(), page);
    EXPECT_EQ(std::filesystem::last_write_time(file), longAgo);
    SetEnvironmentVariableW(L"TMP", hadTmp ? before : nullptr);
    EXPECT_EQ(untoldShellFailure({0x75, false}), std::nullopt);  // the shell's "cancelled"
    EXPECT_NE(untoldShellFailure({0, true}), std::nullopt);      // a silent abort
    EXPECT_EQ(untoldShellFailure({ERROR_DISK_FULL, true}), std::nullopt);
    EXPECT_EQ(untoldShellFailure({0x7C, false}), "The path of the file is not valid.");
    EXPECT_EQ(untoldShellFailure({ERROR_DISK_FULL, false}), systemReason(ERROR_DISK_FULL));
    folder.writeSized("clip.MP4", 2'000'000);
    for (const std::uint64_t arrived : {2'000'000, 1'999'999}) {
        folder.writeSized("MAQ12301.MP4", arrived);
        EXPECT_EQ(arrivedWhole(folder.at("clip.MP4"), folder.at("MAQ12301.MP4")),
                  arrived == 2'000'000);
    }
    EXPECT_FALSE(arrivedWhole(folder.at("clip.MP4"), folder.at("missing.MP4")));
    // A thumbnail is decoded by its content, deeper than MAX_PATH too, even while another program
    // writes it; held open by one that may delete it, it still copies. (Deep listings: UI test.)
    folder.write("clip.THM", test::kSampleJpeg);
    folder.write("notes.THM", "not a picture at all");
    const std::string deep = folder.at(std::string(220, 'd'));  // past 248: prefixed too
    files.makeFolder(deep);
    const std::string thumbnail = deep + "\\" + std::string(80, 'v') + ".THM";
    ASSERT_GE(thumbnail.size(), std::size_t{MAX_PATH});
    files.copyFile(folder.at("clip.THM"), thumbnail);
    const HANDLE writer = CreateFileW(filePath(thumbnail).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    const auto picture = platform.loadPicture(deep + "\\" + std::string(80, 'V') + ".thm");
    CloseHandle(writer);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(std::pair(picture->width(), picture->height()), std::pair(16, 12));
    EXPECT_EQ(platform.loadPicture(folder.at("notes.THM")), nullptr);
    EXPECT_THROW(platform.loadPicture(folder.at("missing.THM")), PlatformError);
    const HANDLE holder = CreateFileW(filePath(thumbnail).c_str(), GENERIC_READ | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NO_THROW(files.copyFile(thumbnail, folder.at("MAQ12301.THM")));
    CloseHandle(holder);
    files.deleteFile(thumbnail);
    EXPECT_TRUE(files.listFiles(deep).empty());
    RemoveDirectoryW(filePath(deep).c_str());
}

// A gone network drive's or an empty disc drive's label would hold the list up. Every path has
// the root the list shows, so that a handler can tell that the picked drive stopped answering.
// Without the prefix, Windows refuses folders from 248 characters on and files from MAX_PATH on.
TEST(Win32Drives, AreAskedOnlyWhatTheyAnswerAtOnceEveryPathHasItsRootAndLongPathsTheirPrefix) {
    // A drive's type, whether it holds a medium, the entry and whether its label was read.
    for (const auto& [type, medium, text, labelReadExpected] :
         {std::tuple{DRIVE_FIXED, true, "e: [\xC3\x89T\xC3\x89]", true},
          {DRIVE_REMOVABLE, true, "e: [\xC3\x89T\xC3\x89]", true},
          {DRIVE_REMOVABLE, false, "e:", false},
          {DRIVE_CDROM, false, "e:", false},
          {DRIVE_REMOTE, true, "e: [\\\\nas\\videos]", false},
          {DRIVE_NO_ROOT_DIR, true, "e:", false}}) {
        bool labelRead = false;
        const DriveEntry entry = describeDrive(
            L"E:\\", {[&](auto&) { return type; }, [&](auto&) { return medium; },
                      [&](auto&) { return labelRead = true, std::wstring(L"\u00C9T\u00C9"); },
                      [](auto&) { return std::wstring(L"\\\\nas\\videos"); }});
        EXPECT_EQ(entry.text, text);
        EXPECT_EQ(entry.root, "e:\\");
        EXPECT_EQ(labelRead, labelReadExpected) << type << " " << medium;
    }
    const std::string deep = "\\" + std::string(300, 'd') + "\\MAQ12301.MP4";
    using Root = std::pair<std::string, std::string>;  // a path, the root of its drive
    for (const auto& [path, root] :
         {Root("E:\\MP_ROOT\\100ANV01\\MAQ12301.MP4", "e:\\"),
          Root("e:/MP_ROOT/../MP_ROOT", "e:\\"), Root("E:", "e:\\"),
          Root("\\\\?\\E:" + deep, "e:\\"), Root("\\\\nas\\videos\\clip.MP4", "\\\\nas\\videos\\"),
          Root("\\\\nas\\videos", "\\\\nas\\videos\\"),
          Root("\\\\?\\UNC\\nas\\videos" + deep, "\\\\nas\\videos\\")}) {
        EXPECT_EQ(driveRootOf(path), root) << path.substr(0, 40);
    }
    // A root, the letters in use, its connection down, a folder now; ready, and the folder asked.
    constexpr DWORD kE = 1u << 4;
    for (const auto& [root, letters, down, folder, ready, folderAsked] :
         {std::tuple{L"e:\\", kE, false, true, true, true},
          {L"E:\\", kE, false, true, true, true},
          {L"e:\\", kE, false, false, false, true},
          {L"e:\\", kE, true, true, false, false},
          {L"e:\\", kE << 1, false, true, false, false},
          {L"/media/e/", ~0u, false, true, false, false}}) {
        bool asked = false;
        EXPECT_EQ(isDriveReady(root, {[&] { return letters; }, [&](auto&) { return down; },
                                      [&](auto&) { return asked = true, folder; }}),
                  ready);
        EXPECT_EQ(asked, folderAsked) << toUtf8(root);
    }
    const std::wstring longest = L"C:\\" + std::wstring(244, L'd');
    const std::wstring share = L"\\\\nas\\videos\\" + std::wstring(240, L'd');
    const std::wstring prefixed = L"\\\\?\\C:\\" + std::wstring(300, L'd');
    const std::wstring device = L"\\\\.\\C:\\" + std::wstring(300, L'd');
    using Case = std::pair<std::wstring, std::wstring>;  // a full path, as the calls get it
    for (const auto& [path, expected] :
         {Case(longest, longest), Case(longest + L"e", L"\\\\?\\" + longest + L"e"),
          Case(share, L"\\\\?\\UNC\\nas\\videos\\" + std::wstring(240, L'd')),
          Case(prefixed, prefixed), Case(device, device)}) {
        EXPECT_EQ(withLongPrefix(path), expected) << toUtf8(path).size();
        EXPECT_EQ(withoutLongPrefix(expected), path == prefixed ? path.substr(4) : path);
    }
    // Resolved first: the prefix turns off Windows' own clean-up of the path.
    EXPECT_EQ(filePath("C:/videos//" + std::string(300, 'd') + "/../clip.MP4"),
              L"C:\\videos\\clip.MP4");
    EXPECT_EQ(filePath("C:/" + std::string(300, 'd')), L"\\\\?\\C:\\" + std::wstring(300, L'd'));
    // A source, a target, the source's short form ("": none), what the shell gets ("": own copy).
    using RouteCase = std::tuple<std::wstring, std::wstring, std::wstring, std::wstring>;
    const std::wstring deepSource = L"C:\\" + std::wstring(250, L'd') + L"\\clip.MP4";
    const std::wstring shortForm = L"C:\\DDDDDD~1\\clip.MP4";
    const std::wstring target = L"E:\\MP_ROOT\\100ANV01\\MAQ12301.MP4";
    for (const auto& [source, to, shortSource, shellSource] :
         {RouteCase(L"C:\\clip.MP4", target, L"", L"C:\\clip.MP4"),
          RouteCase(deepSource, target, shortForm, shortForm),
          RouteCase(deepSource, target, L"", L""), RouteCase(deepSource, target, deepSource, L""),
          RouteCase(L"C:\\clip.MP4", deepSource, L"", L"")}) {
        const CopyRoute route = chooseCopyRoute(source, to, [&](const std::wstring& path) {
            EXPECT_EQ(path, withLongPrefix(source));
            return shortSource.empty() ? L"" : L"\\\\?\\" + shortSource;
        });
        EXPECT_EQ(route.byShell, !shellSource.empty());
        EXPECT_EQ(route.shellSource, shellSource);
    }
}

}  // namespace
}  // namespace velmora::win32
