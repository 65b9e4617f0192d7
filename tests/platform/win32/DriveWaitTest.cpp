#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwctype>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "FileOperations.h"
#include "StandIn.h"
#include "TestWindow.h"
#include "platform/PlatformError.h"
#include "support/TempFolder.h"
#include "win32/FullPath.h"
#include "win32/Wide.h"
#include "win32/Win32Platform.h"

// The slots through which this program calls the system functions that the tests stand in for.
extern "C" void *__imp_GetFileAttributesW, *__imp_FlushFileBuffers, *__imp_MessageBoxW;

namespace velmora::win32 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::TempFolder;

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

std::vector<std::string> told;

int WINAPI recordedMessageBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
    told.push_back(toUtf8(text));
    return IDOK;
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
        told.clear();
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
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find("The drive stopped answering."), std::string::npos) << told[0];
        EXPECT_THROW(platform.findFirst(into + "\\*", lookup::kFilesOnly), DriveNotAnswering);
        SetEvent(driveAnswers);
        EXPECT_TRUE(answersAgain(platform, into));
        EXPECT_EQ(platform.findFirst(into + "\\*.velmora-tmp", lookup::kFilesOnly), "");
        EXPECT_EQ(platform.findFirst(into + "\\MAQ*", lookup::kFilesOnly), "");
    }
}

}  // namespace
}  // namespace velmora::win32
