#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "FileOperations.h"
#include "StandIn.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"
#include "win32/FileSizeLimit.h"
#include "win32/TemporaryFiles.h"
#include "win32/Wide.h"
#include "win32/Win32Platform.h"

// The slots through which this program calls the system functions that the tests stand in for.
extern "C" void *__imp_FlushFileBuffers, *__imp_GetVolumeInformationW, *__imp_MessageBoxW;

namespace velmora::win32 {
namespace {

using velmora::test::TempFolder;

std::vector<std::string> seen;  // the flushes, with the file's name then, and the messages

BOOL WINAPI flush(HANDLE file) {  // the test machine's disk needs none
    wchar_t path[2048] = {};
    GetFinalPathNameByHandleW(file, path, 2048, 0);
    const std::wstring name = std::wstring(path).substr(std::wstring(path).find_last_of(L'\\') + 1);
    seen.push_back("flush " + (name.ends_with(L".velmora-tmp") ? "temporary" : toUtf8(name)));
    return TRUE;
}

int WINAPI messageBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
    seen.push_back(toUtf8(text));
    return IDOK;
}

BOOL WINAPI fat32(const wchar_t*, wchar_t*, DWORD, DWORD*, DWORD*, DWORD*, wchar_t* name, DWORD) {
    return name == nullptr || wcscpy(name, L"FAT32") != nullptr;
}

// A name found taken fails the copy, without a word to the user (the caller draws another), and
// keeps its file; a copy counts once its data and then its name are flushed. Changed while it
// was copied, or too large for a FAT stick (a stand-in for one, which Wine can't give), a source
// leaves nothing. Each copy first removes the leftovers of copies
// cut off before, read-only ones too; one whose writer runs, or may (its start time unknown),
// stays, as do one still open to its copy, hidden as it was, a leftover that may share its
// target's data and any file of another form.
TEST(Win32CopyToStick, ACopyTakesOnlyAFreeNameOnceItIsOnTheStickAndLeavesNothingElse) {
    const TempFolder folder;
    Win32Platform platform;
    const StandIn messages(__imp_MessageBoxW, reinterpret_cast<void*>(messageBox));
    // From one file of the folder to another, by the program's own copy (route 0) or the
    // shell's (1): "taken" for a name found taken, which no message tells; the failure's reason;
    // or "".
    const auto copy = [&](int route, const std::string& from, const std::string& to,
                          const FileOperations::Progress& progress = {}) -> std::string {
        seen.clear();
        try {
            if (route == 0) {
                FileOperations().copyFile(folder.at(from), folder.at(to), progress);
                return "";
            }
            const ShellCopyResult result = platform.shellCopy(folder.at(from), folder.at(to));
            const bool told = !seen.empty() && !seen.back().starts_with("flush");
            if (result.nameTaken) {
                return told ? "taken, and told: " + seen.back() : "taken";
            }
            return result.code != 0 ? seen.back() : "";
        } catch (const NameTaken&) {
            return "taken";
        } catch (const PlatformError& failure) {
            return failure.reason();
        }
    };
    folder.write("clip.MP4", std::string(9 << 20, 'v'));  // more than one block
    folder.write("MAQ12301.MP4", "the stick's own");
    const auto temporary = [&](std::uint64_t writerStart) {
        const std::wstring path = temporaryBeside(toWide(folder.at("MAQ12301.MP4")),
                                                  {GetCurrentProcessId(), writerStart});
        std::ofstream(std::filesystem::path(path)) << "half";
        return toUtf8(path.substr(path.find_last_of(L'\\') + 1));
    };
    std::vector<std::string> names = {temporary(thisWriter().startTime),
                                      "MAQ12301.MP4",
                                      "MAQ12301.MP4.1-1-0.velmora-tmp",
                                      "MAQ12302.MP4",
                                      "MAQ12303.MP4",
                                      "big.MP4",
                                      "clip.MP4",
                                      "~MAQ12301.MP4.velmora-tmp",
                                      temporary(0)};  // a start time that could not be read
    folder.write(names[2]), folder.write(names[7]);
    const StandIn flushes(__imp_FlushFileBuffers, reinterpret_cast<void*>(flush));
    const std::wstring held = toWide(folder.at(temporary(1)));  // open, sharing no deletion
    SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const DWORD hidden = GetFileAttributesW(held.c_str());
    std::unique_ptr<void, decltype(&CloseHandle)> holder(
        CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr),
        &CloseHandle);
    for (const int route : {0, 1}) {
        const std::string leftover = temporary(1);
        SetFileAttributesW(toWide(folder.at(leftover)).c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(copy(route, "clip.MP4", "MAQ12301.MP4"), "taken");
        EXPECT_TRUE(folder.read("MAQ12301.MP4") == "the stick's own");
        EXPECT_FALSE(folder.exists(leftover));
        EXPECT_EQ(GetFileAttributesW(held.c_str()), hidden);
        const std::string name = names[route + 3];
        EXPECT_EQ(copy(route, "clip.MP4", name), "");
        ASSERT_GE(seen.size(), 2u);  // the own copy's data are flushed as they go, too
        EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end() - 1),
                  std::set<std::string>{"flush temporary"});
        EXPECT_EQ(seen.back(), "flush " + name);
        EXPECT_TRUE(folder.read(name) == folder.read("clip.MP4"));
    }
    holder.reset();                         // the copies below remove it
    const std::string twin = temporary(1);  // what a cut power may leave of a rename on FAT
    CopyFileW(toWide(folder.at("MAQ12301.MP4")).c_str(), toWide(folder.at(twin)).c_str(), FALSE);
    names.push_back(twin);
    for (const std::uintmax_t changedTo : {1u << 20, 20u << 20}) {
        const auto change = [&](auto, auto) {
            return folder.writeSized("clip.MP4", changedTo), true;
        };
        EXPECT_EQ(copy(0, "clip.MP4", "MAQ12304.MP4", change),
                  "The file changed while it was copied");
    }
    const StandIn fat(__imp_GetVolumeInformationW, reinterpret_cast<void*>(fat32));
    folder.writeSized("big.MP4", 1ull << 32);
    for (const int route : {0, 1}) {
        EXPECT_NE(copy(route, "big.MP4", "MAQ12305.MP4").find("FAT"), std::string::npos);
    }
    EXPECT_EQ(fileSizeRefusal(toWide(folder.path()), (1ull << 32) - 1), std::nullopt);
    std::ranges::sort(names);
    EXPECT_EQ(folder.names("."), names);
}

}  // namespace
}  // namespace velmora::win32
