#include "FileOperations.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/TempFolder.h"
#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

// What only Windows has: file attributes, names outside the ANSI code page, sizes past 4 GB.
TEST(Win32FileOperations, AttributesNamesInAnyScriptAndLargeFiles) {
    const test::TempFolder folder;
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

}  // namespace
}  // namespace velmora::win32
