// The Windows calls on a stick, with stand-ins for the system functions where the test machine
// can't be such a stick: flushes that are recorded or held, a drive that doesn't answer, a FAT
// volume, and message boxes that record what the user is told.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwctype>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "FileOperations.h"
#include "TestWindow.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"
#include "win32/copy/FileSizeLimit.h"
#include "win32/files/FullPath.h"
#include "win32/copy/TemporaryFiles.h"
#include "win32/text/Wide.h"
#include "win32/Win32Platform.h"

// The slots through which this program calls the system functions that the tests stand in for.
extern "C" void *__imp_GetFileAttributesW, *__imp_FlushFileBuffers, *__imp_GetVolumeInformationW,
    *__imp_MessageBoxW;

namespace velmora::win32 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::TempFolder;

// Puts, for its lifetime, a function of the test in an import slot (__imp_ and the system
// function's name): the code under test then calls it in place of the system's, which shows
// the test their order, or answers as a system that the test machine is not would.
struct StandIn {
    StandIn(void*& importSlot, void* function) : slot(importSlot), system(swap(function)) {}
    ~StandIn() { swap(system); }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    void* swap(void* function) {  // the slots stay writable, in the tests only
        DWORD protection = 0;
        VirtualProtect(&slot, sizeof(void*), PAGE_READWRITE, &protection);
        return std::exchange(slot, function);
    }
    void*& slot;
    void* system;
};

// What the stand-ins saw, in order: the recorded flushes and the messages.
std::vector<std::string> seen;

int WINAPI recordedMessageBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
    seen.push_back(toUtf8(text));
    return IDOK;
}

// Records each flush, with the file's name then; the test machine's disk needs none.
BOOL WINAPI recordedFlush(HANDLE file) {
    wchar_t path[2048] = {};
    GetFinalPathNameByHandleW(file, path, 2048, 0);
    const std::wstring name = std::wstring(path).substr(std::wstring(path).find_last_of(L'\\') + 1);
    seen.push_back("flush " + (name.ends_with(L".velmora-tmp") ? "temporary" : toUtf8(name)));
    return TRUE;
}

BOOL WINAPI fat32(const wchar_t*, wchar_t*, DWORD, DWORD*, DWORD*, DWORD*, wchar_t* name, DWORD) {
    return name == nullptr || wcscpy(name, L"FAT32") != nullptr;
}

// Set when a drive that the stand-ins hold answers again.
const HANDLE driveAnswers = CreateEventW(nullptr, TRUE, FALSE, nullptr);
// The longest a stand-in holds a call: far past any limit, short of the test's own.
constexpr DWORD kHeldAtMost = 20000;

DWORD(WINAPI* systemAttributes)(const wchar_t*) = nullptr;

// The drive that doesn't answer until the test lets it.
wchar_t silentDrive = L'\0';

DWORD WINAPI attributesOfSilentDrive(const wchar_t* path) {
    if (std::towupper(withoutLongPrefix(path)[0]) == silentDrive) {
        WaitForSingleObject(driveAnswers, kHeldAtMost);
    }
    return systemAttributes(path);
}

// The last drive letter in use but that of folder (Z: under Wine), or none.
wchar_t driveBesides(const std::string& folder) {
    const DWORD letters = GetLogicalDrives();
    for (wchar_t letter = L'Z'; letter >= L'A'; --letter) {
        if ((letters & (1u << (letter - L'A'))) != 0 &&
            letter != std::towupper(static_cast<wchar_t>(folder[0]))) {
            return letter;
        }
    }
    return L'\0';
}

std::atomic<bool> flushing = false;

// Every drive's data stop going out at the flush, until the test lets them; the test machine's
// disk then needs none.
BOOL WINAPI heldFlush(HANDLE) {
    flushing = true;
    WaitForSingleObject(driveAnswers, kHeldAtMost);
    return TRUE;
}

// Asks the window every 10 ms, as the system does, and then does what the test does meanwhile,
// until it is told to stop; keeps the longest wait for an answer.
class Pinger {
  public:
    Pinger(HWND window, std::function<void()> meanwhile)
        : thread_([this, window, meanwhile](std::stop_token token) {
              while (!token.stop_requested()) {
                  const auto asked = Clock::now();
                  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, nullptr);
                  longest_ = std::max(longest_.load(), Clock::now() - asked);
                  meanwhile();
                  Sleep(10);
              }
              stopped_ = true;
          }) {}
    // The longest wait for an answer. Its last question may come meanwhile: it is answered, as
    // the window would, and what was posted stays queued.
    Clock::duration stop() {
        thread_.request_stop();
        for (MSG message{}; !stopped_; Sleep(1)) {
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        return longest_;
    }

  private:
    std::atomic<bool> stopped_ = false;
    std::atomic<Clock::duration> longest_{};
    std::jthread thread_;
};

// The visible window that owner owns: the copy's progress window.
HWND ownedWindow(HWND owner) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// True once a call on path's drive is answered again, within the time the stand-ins may hold.
bool answersAgain(Win32Platform& platform, const std::string& path) {
    for (const auto until = Clock::now() + std::chrono::milliseconds(kHeldAtMost);
         Clock::now() < until; Sleep(10)) {
        try {
            platform.isFolder(path);
            return true;
        } catch (const DriveNotAnswering&) {
        }
    }
    return false;
}

// While the platform waits for a drive that gives no answer, the window goes on answering and
// handles what is posted to it, but keys and a closing wait in the queue, in their order, until
// the handler is done. The handler learns within the limit that the drive does not answer, and
// at once from then on, while other drives answer.
using Win32DriveWait = WindowedTest;

TEST_F(Win32DriveWait, ADriveWithoutAnswerLeavesTheWindowAnsweringAndCountsAsGone) {
    silentDrive = driveBesides(folder.path());
    if (silentDrive == L'\0') {
        GTEST_SKIP() << "no drive besides the temporary folder's";
    }
    ResetEvent(driveAnswers);
    const std::string root = toUtf8(std::wstring{silentDrive, L':', L'\\'});
    const StandIn silent(__imp_GetFileAttributesW,
                         reinterpret_cast<void*>(attributesOfSilentDrive));
    systemAttributes = reinterpret_cast<decltype(systemAttributes)>(silent.system);
    for (const UINT message : {WM_KEYDOWN, WM_CLOSE, WM_APP}) {
        PostMessageW(window, message, 0, 0);
    }
    Pinger system(window, [] {});
    const auto asked = Clock::now();
    EXPECT_FALSE(platform.isDriveReady(root));
    const auto answered = Clock::now();
    EXPECT_THROW(platform.listFiles(root + "tmp"), DriveNotAnswering);
    EXPECT_LT(Clock::now() - answered, 1s);
    EXPECT_NO_THROW(platform.listFiles(folder.path()));
    EXPECT_LT(system.stop(), 1s);
    SetEvent(driveAnswers);
    EXPECT_LT(answered - asked, answer_within::kLookup + 1s);
    EXPECT_EQ(handled, std::vector<UINT>{WM_APP});
    std::vector<UINT> queued;
    for (MSG left{}; PeekMessageW(&left, window, 0, 0, PM_REMOVE);) {
        if (left.message == WM_KEYDOWN || left.message == WM_CLOSE || left.message == WM_APP) {
            queued.push_back(left.message);
        }
    }
    EXPECT_EQ(queued, (std::vector<UINT>{WM_KEYDOWN, WM_CLOSE}));
    EXPECT_TRUE(answersAgain(platform, root));
}

// A copy whose data stop going out, by the program's own copy or the shell's (while the shell's
// copy is put on the stick), is waited for with its progress window up; Cancel closes that
// window, and a copy that has not ended a while after is left behind: the user is told, the
// copy fails, and the drive counts as not answering until the copy ends, which then leaves
// nothing on the stick. The window answers throughout.
TEST_F(Win32DriveWait, ACopyThatStopsIsLeftBehindAWhileAfterCancel) {
    folder.writeSized("clip.MP4", 16'000'000);
    const std::string deep = folder.at(std::string(250, 'f'));  // the shell can't take it
    FileOperations().makeFolder(deep);
    const StandIn held(__imp_FlushFileBuffers, reinterpret_cast<void*>(heldFlush));
    const StandIn messages(__imp_MessageBoxW, reinterpret_cast<void*>(recordedMessageBox));
    for (const std::string& into : {deep, folder.path()}) {
        ResetEvent(driveAnswers);
        flushing = false;
        seen.clear();
        std::atomic<Clock::time_point> cancelled{};
        Pinger system(window, [&] {
            const HWND progress = flushing ? ownedWindow(window) : nullptr;
            if (progress != nullptr && cancelled.load() == Clock::time_point{}) {
                cancelled = Clock::now();
                PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(progress, IDCANCEL)));
            }
        });
        const ShellCopyResult result =
            platform.shellCopy(folder.at("clip.MP4"), into + "\\MAQ12301.MP4");
        const auto returned = Clock::now();
        EXPECT_LT(system.stop(), 1s);
        EXPECT_LT(returned - cancelled.load(), answer_within::kLookup + 1s);
        EXPECT_NE(result.code, 0);
        EXPECT_FALSE(result.aborted || result.nameTaken);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_NE(seen[0].find("The drive stopped answering."), std::string::npos) << seen[0];
        EXPECT_THROW(platform.findFirst(into + "\\*", lookup::kFilesOnly), DriveNotAnswering);
        SetEvent(driveAnswers);
        EXPECT_TRUE(answersAgain(platform, into));
        EXPECT_EQ(platform.findFirst(into + "\\*.velmora-tmp", lookup::kFilesOnly), "");
        EXPECT_EQ(platform.findFirst(into + "\\MAQ*", lookup::kFilesOnly), "");
    }
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
    const StandIn messages(__imp_MessageBoxW, reinterpret_cast<void*>(recordedMessageBox));
    // Copies within the folder by the program's own copy (route 0) or the shell's (1): "taken"
    // for a name found taken, which no message tells; the failure's reason; or "".
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
    const StandIn flushes(__imp_FlushFileBuffers, reinterpret_cast<void*>(recordedFlush));
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
