// The Windows calls on a stick, with stand-ins for the system functions where the test machine
// can't be such a stick (a drive that doesn't answer, FAT, reads past the cache).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwctype>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "FileOperations.h"
#include "MainWindow.h"
#include "OffWindowFiles.h"
#include "app/MainForm.h"
#include "platform/PlatformError.h"
#include "psp/PickedStick.h"
#include "support/TempFolder.h"
#include "win32/OtherProcessPinger.h"
#include "win32/Win32Platform.h"
#include "win32/copy/FileSizeLimit.h"
#include "win32/copy/TemporaryFiles.h"
#include "win32/copy/VideoCopy.h"
#include "win32/files/FullPath.h"
#include "win32/text/Wide.h"
#include "win32/window/SessionEnd.h"

// The slots through which this program calls the system functions that the tests stand in for.
extern "C" void *__imp_GetFileAttributesW, *__imp_FlushFileBuffers, *__imp_GetVolumeInformationW,
    *__imp_MessageBoxW, *__imp_CreateFileW, *__imp_ReadFile, *__imp_GetDiskFreeSpaceW,
    *__imp_GetProcessTimes, *__imp_GetFileSizeEx;

namespace velmora::win32 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::TempFolder;

// Puts, for its lifetime, a function of the test in an import slot (__imp_ and the system
// function's name): the code under test then calls it in place of the system's.
struct StandIn {
    template <class Function>
    StandIn(void*& importSlot, Function* function) : slot(importSlot), system(importSlot) {
        DWORD protection = 0;  // the slots stay writable, in the tests only
        VirtualProtect(&slot, sizeof(void*), PAGE_READWRITE, &protection);
        slot = reinterpret_cast<void*>(function);
    }
    ~StandIn() { slot = system; }
    void*& slot;
    void* const system;
};

// The system's own functions, taken before any stand-in is in their slots.
const auto systemCreateFile = reinterpret_cast<decltype(&CreateFileW)>(__imp_CreateFileW);
const auto systemReadFile = reinterpret_cast<decltype(&ReadFile)>(__imp_ReadFile);
const auto systemAttributes =
    reinterpret_cast<decltype(&GetFileAttributesW)>(__imp_GetFileAttributesW);

// What the stand-ins saw, in order: the recorded flushes and the messages.
std::vector<std::string> seen;

// The window whose closing the test watches: a message told once it has gone says so.
HWND watched = nullptr;

int WINAPI recordedMessageBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
    seen.push_back(toUtf8(text) + (watched != nullptr && !IsWindow(watched) ? " (closed)" : ""));
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

BOOL WINAPI unreadableTimes(HANDLE, FILETIME*, FILETIME*, FILETIME*, FILETIME*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL WINAPI fat32(const wchar_t*, wchar_t*, DWORD, DWORD*, DWORD*, DWORD*, wchar_t* name, DWORD) {
    return name == nullptr || wcscpy(name, L"FAT32") != nullptr;
}

// A stick as a read-back sees it; the handles opened past the cache, and whether one was read.
struct {
    DWORD sector = 512;
    bool givesOther = false;
    std::map<HANDLE, bool> unbuffered;
    bool readBack = false;
} stick;

HANDLE WINAPI recordedCreateFile(const wchar_t* path, DWORD access, DWORD share,
                                 SECURITY_ATTRIBUTES* security, DWORD disposition, DWORD flags,
                                 HANDLE model) {
    const HANDLE file = systemCreateFile(path, access, share, security, disposition, flags, model);
    stick.unbuffered[file] = (flags & FILE_FLAG_NO_BUFFERING) != 0;
    return file;
}

// Past the cache, whole sectors at whole sectors into aligned memory, or nothing (as Windows).
BOOL WINAPI stickRead(HANDLE file, void* into, DWORD length, DWORD* read, OVERLAPPED* at) {
    if (!stick.unbuffered[file]) {
        return systemReadFile(file, into, length, read, at);
    }
    stick.readBack = true;
    if (at == nullptr || at->Offset % stick.sector != 0 || length % stick.sector != 0 ||
        reinterpret_cast<std::uintptr_t>(into) % stick.sector != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const BOOL done = systemReadFile(file, into, length, read, at);
    if (done && stick.givesOther && *read > 0) {
        *static_cast<char*>(into) ^= 1;
    }
    return done;
}

BOOL WINAPI stickSectors(const wchar_t*, DWORD* perCluster, DWORD* sector, DWORD* free,
                         DWORD* clusters) {
    *perCluster = 8, *sector = stick.sector, *free = *clusters = 1u << 20;
    return TRUE;
}

// Set when a drive that the stand-ins hold answers again.
const HANDLE driveAnswers = CreateEventW(nullptr, TRUE, FALSE, nullptr);
// The longest a stand-in holds a call: far past any limit, short of the test's own.
constexpr DWORD kHeldAtMost = 20000;

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
    for (wchar_t letter = L'Z'; letter >= L'A'; --letter) {
        if ((GetLogicalDrives() >> (letter - L'A') & 1) != 0 &&
            letter != std::towupper(static_cast<wchar_t>(folder[0]))) {
            return letter;
        }
    }
    return L'\0';
}

std::atomic<bool> flushing = false;

// Every drive's data stop going out at the flush, until the test lets them.
BOOL WINAPI heldFlush(HANDLE) {
    flushing = true;
    WaitForSingleObject(driveAnswers, kHeldAtMost);
    return TRUE;
}

// A copy's temporary is made only once the test lets it: the copy hangs before its first byte.
HANDLE WINAPI heldTemporary(const wchar_t* path, DWORD access, DWORD share,
                            SECURITY_ATTRIBUTES* security, DWORD how, DWORD flags, HANDLE model) {
    if (std::wstring_view(path).ends_with(L".velmora-tmp")) {
        flushing = true;
        WaitForSingleObject(driveAnswers, kHeldAtMost);
    }
    return systemCreateFile(path, access, share, security, how, flags, model);
}

// Asks the window every 10 ms, as the system does, then does what the test does meanwhile; keeps
// the longest wait, its own or that of a second process asking too (see OtherProcessPinger). A
// window silent for 2 s lets the held calls go, to fail instead of hanging.
constexpr const char* kSilentWindow =
    "the window went silent: something waited on the window's own thread";

class Pinger {
  public:
    Pinger(HWND window, std::function<void()> meanwhile)
        : otherProcess_(window), thread_([this, window, meanwhile](std::stop_token token) {
              for (; !token.stop_requested(); Sleep(10)) {
                  const auto asked = Clock::now();
                  if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, nullptr)) {
                      SetEvent(driveAnswers);
                  }
                  longest_ = std::max(longest_.load(), Clock::now() - asked);
                  meanwhile();
              }
              stopped_ = true;
          }) {}
    // Its last question is answered as the window would; what was posted stays queued.
    Clock::duration stop() {
        thread_.request_stop();
        for (MSG message{}; !stopped_; Sleep(1)) {
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        const std::chrono::duration<double> other(
            OtherProcessPinger::longestIn(otherProcess_.stop()));
        return std::max(longest_.load(), std::chrono::duration_cast<Clock::duration>(other));
    }

  private:
    OtherProcessPinger otherProcess_;
    std::atomic<bool> stopped_ = false;
    std::atomic<Clock::duration> longest_{};
    std::jthread thread_;
};

// The visible window that owner owns: the copy's progress, or the wait on a drive.
HWND ownedWindow(HWND owner) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Clicks Cancel, once, in the window that owner owns, when there is one; notes when.
void cancelOwned(HWND owner, std::atomic<Clock::time_point>& cancelled) {
    const HWND progress = ownedWindow(owner);
    if (progress != nullptr && cancelled.load() == Clock::time_point{}) {
        cancelled = Clock::now();
        PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(progress, IDCANCEL)));
    }
}

// What the test window was sent or posted, beyond what any window gets.
std::vector<UINT> handled;

LRESULT CALLBACK answerLikeTheWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        handled.push_back(message);
    }
    return message == WM_QUERYENDSESSION ? answerSessionEnd()
                                         : DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window answering WM_QUERYENDSESSION as the program's does, the platform it owns,
// a folder of the test's own and one in it too deep for the shell, and a drive besides the
// folder's that answers only once the test lets it; the window goes with the test.
class Win32DriveWait : public ::testing::Test {
  protected:
    Win32DriveWait() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = answerLikeTheWindow;
        windowClass.lpszClassName = L"VelmoraTestWindow";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"Velmora", WS_OVERLAPPEDWINDOW, 0,
                                 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        // In front, as after the user's click: the progress windows take the activation from it.
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        platform.setOwner(window);
        FileOperations().makeFolder(deep);
        silentDrive = static_cast<wchar_t>(root[0]);
        ResetEvent(driveAnswers);
        handled.clear(), seen.clear();
    }
    void SetUp() override {
        ASSERT_NE(window, nullptr);
        if (silentDrive == L'\0') {
            GTEST_SKIP() << "no drive besides the temporary folder's";
        }
    }
    void TearDown() override { SetEvent(driveAnswers), DestroyWindow(window); }

    const TempFolder folder;
    const std::string deep = folder.at(std::string(250, 'f'));
    const std::string root = toUtf8(std::wstring{driveBesides(folder.path()), L':', L'\\'});
    HWND window = nullptr;
    Win32Platform platform;
    const StandIn silent{__imp_GetFileAttributesW, attributesOfSilentDrive};
    const StandIn messages{__imp_MessageBoxW, recordedMessageBox};
    std::atomic<Clock::time_point> cancelled{};
};

// While the platform waits for a silent drive, the window answers and handles what is posted,
// but keys and a closing wait in the queue, in order. After a second a window says it waits; its
// Cancel ends the wait at once (what the drive then counts as: DriveCallsTest).
TEST_F(Win32DriveWait, ADriveWithoutAnswerLeavesTheWindowAnsweringAndCountsAsGone) {
    for (const UINT message : {WM_KEYDOWN, WM_CLOSE, WM_APP}) {
        PostMessageW(window, message, 0, 0);
    }
    Pinger system(window, [&] { cancelOwned(window, cancelled); });
    const auto asked = Clock::now();
    EXPECT_FALSE(platform.isDriveReady(root));
    const auto answered = Clock::now();
    ASSERT_NE(cancelled.load(), Clock::time_point{}) << "no window said that it waits on the drive";
    EXPECT_GE(cancelled.load() - asked, 500ms) << "the waiting window showed at once";
    EXPECT_LT(answered - cancelled.load(), 500ms) << "Cancel did not end the wait at once";
    EXPECT_LT(system.stop(), 1s) << kSilentWindow;
    SetEvent(driveAnswers);
    EXPECT_EQ(handled, std::vector<UINT>{WM_APP});
    std::vector<UINT> queued;
    for (MSG left{}; PeekMessageW(&left, window, WM_CLOSE, WM_APP, PM_REMOVE);) {
        queued.push_back(left.message);
    }
    EXPECT_EQ(queued, (std::vector<UINT>{WM_KEYDOWN, WM_CLOSE}));
}

// Closes sent while a handler waits on a drive are held: the handler ends first, telling the
// user once, and the close then goes ahead.
TEST_F(Win32DriveWait, AClosingDuringAHandlersWaitGoesAheadOnceTheHandlerHasEnded) {
    MainForm form(platform);
    MainWindow main(form, platform);
    const HWND shown = main.handle();
    watched = shown;
    // The stick picked in the drive list, as the user picks it, coming from another drive.
    form.drivePSP.selectDriveHolding(folder.path());
    const HWND drives = FindWindowExW(shown, nullptr, L"ComboBox", nullptr);
    ASSERT_GE(SendMessageW(drives, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(toWide(root.substr(0, 2)).c_str())),
              0);
    PostMessageW(shown, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(drives), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(drives));
    Pinger system(shown, [&] {
        if (ownedWindow(shown) != nullptr && cancelled.load() == Clock::time_point{}) {
            SendMessageTimeoutW(shown, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
            SendMessageTimeoutW(shown, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 5000, nullptr);
            cancelOwned(shown, cancelled);
        }
    });
    // The window's loop ends once the close goes ahead, or when the test gives up on it.
    SetTimer(nullptr, 0, 8000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
    const auto started = Clock::now();
    EXPECT_EQ(main.run(), 0) << "the close held during the handler never went ahead";
    EXPECT_LT(Clock::now() - started, 4s) << "the close held during the handler never went ahead";
    EXPECT_LT(system.stop(), 1s) << kSilentWindow;
    watched = nullptr;
    EXPECT_NE(cancelled.load(), Clock::time_point{}) << "no window said that it waits on the drive";
    EXPECT_EQ(seen, std::vector<std::string>{kVideoFolderNotFound})
        << "the window closed while its handler waited on a drive";
    EXPECT_FALSE(IsWindow(shown));
}

// While either copy runs, or hangs (its data held at the flush, or its temporary not made), the
// window answers, refuses the session's end and handles what is posted, but keys and clicks given
// meanwhile never run. One that hangs is left behind a while after Cancel in its progress window:
// the user is told, the copy fails, the drive counts as not answering until the copy ends, which
// leaves nothing on the stick. The own copy's failure, met on its thread, reaches the caller.
TEST_F(Win32DriveWait, EitherCopyPausesTheWindowAndOneThatHangsIsLeftBehindAfterCancel) {
    const HWND button = CreateWindowExW(0, L"BUTTON", L"Copy to PSP", WS_CHILD, 0, 0, 50, 20,
                                        window, nullptr, nullptr, nullptr);
    folder.writeSized("clip.MP4", 64'000'000);
    void* const runs = __imp_FlushFileBuffers;            // the system's own flush
    using Hang = std::tuple<void*&, void*, std::string>;  // the slot, its stand-in, the target
    for (const auto& [slot, standIn, into] :
         {Hang{__imp_FlushFileBuffers, reinterpret_cast<void*>(heldFlush), deep},
          Hang{__imp_FlushFileBuffers, reinterpret_cast<void*>(heldFlush), folder.path()},
          Hang{__imp_CreateFileW, reinterpret_cast<void*>(heldTemporary), deep},
          Hang{__imp_FlushFileBuffers, runs, deep},
          Hang{__imp_FlushFileBuffers, runs, folder.path()}}) {
        const StandIn held(slot, standIn);
        ResetEvent(driveAnswers), seen.clear(), handled.clear();
        flushing = false, cancelled = Clock::time_point{};
        DWORD_PTR duringCopy = TRUE;
        bool inputGiven = false;
        Pinger system(window, [&] {
            if (!std::exchange(inputGiven, true)) {
                for (const auto& [to, message] :
                     {std::pair(window, WM_KEYDOWN), std::pair(button, WM_CHAR),
                      std::pair(button, WM_LBUTTONDOWN), std::pair(button, BM_CLICK),
                      std::pair(window, WM_APP)}) {
                    PostMessageW(to, message, 8, 0);
                }
                SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                    20000, &duringCopy);
            }
            if (flushing) {
                cancelOwned(window, cancelled);
            }
        });
        const std::string target = into + "\\MAQ12301.MP4";
        const ShellCopyResult result = platform.shellCopy(folder.at("clip.MP4"), target, {});
        const auto returned = Clock::now();
        EXPECT_LT(system.stop(), 1s) << kSilentWindow;
        for (MSG left{}; PeekMessageW(&left, nullptr, WM_KEYFIRST, WM_APP, PM_REMOVE);) {
            EXPECT_TRUE(left.hwnd != window && left.hwnd != button) << left.message;
        }
        EXPECT_EQ(duringCopy, DWORD_PTR{FALSE});
        EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        EXPECT_EQ(handled, std::vector<UINT>{WM_APP}) << target;
        if (standIn == runs) {
            EXPECT_EQ(result.code, 0);
            EXPECT_EQ(platform.fileLength(target), 64'000'000);
            continue;
        }
        ASSERT_NE(cancelled.load(), Clock::time_point{}) << "no progress window to cancel";
        EXPECT_LT(returned - cancelled.load(), answer_within::kAfterCancel + 1s);
        EXPECT_NE(result.code, 0);
        EXPECT_FALSE(result.aborted || result.nameTaken);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_NE(seen[0].find("The drive stopped answering."), std::string::npos) << seen[0];
        EXPECT_THROW(platform.findFirst(into + "\\*", lookup::kFilesOnly), DriveNotAnswering);
        SetEvent(driveAnswers);
        std::optional<std::string> left;  // of the copy, once the drive answers again
        for (const auto until = Clock::now() + 20s; !left && Clock::now() < until; Sleep(10)) {
            try {
                left = platform.findFirst(into + "\\*.velmora-tmp", lookup::kFilesOnly) +
                       platform.findFirst(into + "\\MAQ*", lookup::kFilesOnly);
            } catch (const DriveNotAnswering&) {
            }
        }
        EXPECT_EQ(left, "") << "the drive never answered again, or the copy left something";
    }
    EXPECT_THROW(platform.shellCopy(folder.at("clip.MP4"), deep + "\\gone\\MAQ12303.MP4", {}),
                 PlatformError);
}

// A name found taken fails the copy silently and keeps its file; a copy counts once its data,
// then its name, are flushed. A source changed meanwhile, too large for FAT, given back otherwise
// by the stick (told once) or cancelled during the read-back leaves nothing. The sweep removes
// leftovers, read-only ones too, but not those whose writer runs or may, one still open, one
// that may share its target's data, or files of another form.
TEST(Win32CopyToStick, ACopyTakesOnlyAFreeNameOnceItIsOnTheStickAndLeavesNothingElse) {
    const TempFolder folder;
    Win32Platform platform;
    const StandIn messages(__imp_MessageBoxW, recordedMessageBox);
    // By the own copy (route 0) or the shell's (1): "taken", the failure's reason, or "".
    const auto copy = [&](int route, const std::string& from, const std::string& to,
                          const FileOperations::Progress& progress = {}) -> std::string {
        seen.clear();
        try {
            if (route == 0) {
                FileOperations().copyFile(folder.at(from), folder.at(to), progress);
                return "";
            }
            const ShellCopyResult result = platform.shellCopy(folder.at(from), folder.at(to), {});
            const bool told = !seen.empty() && !seen.back().starts_with("flush");
            if (result.nameTaken) {
                return told ? "taken, and told: " + seen.back() : "taken";
            }
            return result.code != 0 ? seen.back() : "";
        } catch (const NameTaken&) {
            return "taken";
        } catch (const NotReadBack& failure) {  // as the window tells it
            return failure.operation() + " failed.\r\n\r\n" + failure.path() + "\r\n\r\n" +
                   failure.reason();
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
    std::vector<std::string> names = {
        "MAQ12301.MP4", "MAQ12301.MP4.1-1-0.velmora-tmp", "MAQ12302.MP4", "MAQ12303.MP4", "big.MP4",
        "clip.MP4",     "~MAQ12301.MP4.velmora-tmp"};
    // This run's temporary, and one whose writer's start time could not be read.
    names.insert(names.end(), {temporary(thisWriter().startTime), temporary(0)});
    folder.write(names[1]), folder.write(names[6]);
    const StandIn flushes(__imp_FlushFileBuffers, recordedFlush);
    const std::wstring held = toWide(folder.at(temporary(1)));  // open, sharing no deletion
    SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const DWORD hidden = GetFileAttributesW(held.c_str());
    const HANDLE holder =
        CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    for (const int route : {0, 1}) {
        const std::string leftover = temporary(1);
        SetFileAttributesW(toWide(folder.at(leftover)).c_str(), FILE_ATTRIBUTE_READONLY);
        FileOperations().removeLeftovers(folder.path());
        EXPECT_EQ(copy(route, "clip.MP4", "MAQ12301.MP4"), "taken");
        EXPECT_TRUE(folder.read("MAQ12301.MP4") == "the stick's own");
        EXPECT_FALSE(folder.exists(leftover));
        EXPECT_EQ(GetFileAttributesW(held.c_str()), hidden);
        const std::string name = names[route + 2];
        EXPECT_EQ(copy(route, "clip.MP4", name), "");
        ASSERT_GE(seen.size(), 2u);  // the own copy's data are flushed as they go, too
        EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end() - 1),
                  std::set<std::string>{"flush temporary"});
        EXPECT_EQ(seen.back(), "flush " + name);
        EXPECT_TRUE(folder.read(name) == folder.read("clip.MP4"));
    }
    CloseHandle(holder);                    // the sweep below removes it
    const std::string twin = temporary(1);  // what a cut power may leave of a rename on FAT
    CopyFileW(toWide(folder.at("MAQ12301.MP4")).c_str(), toWide(folder.at(twin)).c_str(), FALSE);
    names.push_back(twin);
    for (const std::uintmax_t changedTo : {1u << 20, 20u << 20}) {
        EXPECT_EQ(copy(0, "clip.MP4", "MAQ12304.MP4",
                       [&](auto, auto) { return folder.writeSized("clip.MP4", changedTo), true; }),
                  "The file changed while it was copied");
    }
    const StandIn fat(__imp_GetVolumeInformationW, fat32);
    folder.writeSized("big.MP4", 1ull << 32);
    for (const int route : {0, 1}) {
        EXPECT_NE(copy(route, "big.MP4", "MAQ12305.MP4").find("FAT"), std::string::npos);
    }
    EXPECT_EQ(fileSizeRefusal(toWide(folder.path()), (1ull << 32) - 1), std::nullopt);
    FileOperations().removeLeftovers(folder.path());
    names.push_back(temporary(1));
    const StandIn unknownStart(__imp_GetProcessTimes, unreadableTimes);
    FileOperations().removeLeftovers(folder.path());
    EXPECT_TRUE(folder.exists(names.back()))
        << "a temporary of a running process whose start time can't be read was removed";
    const StandIn opens(__imp_CreateFileW, recordedCreateFile);
    const StandIn reads(__imp_ReadFile, stickRead);
    const StandIn sectors(__imp_GetDiskFreeSpaceW, stickSectors);
    folder.write("clip.MP4", std::string(3 << 20, 'v') + "and its end");
    for (const auto& [route, sector, givesOther] :
         {std::tuple(0, 512u, true), {1, 512u, true}, {0, 8192u, false}, {1, 4096u, false}}) {
        stick.sector = sector, stick.givesOther = givesOther;
        const std::string told = copy(route, "clip.MP4", "MAQ12306.MP4");
        EXPECT_EQ(told, givesOther ? copyFailedText(folder.at("clip.MP4"), kNotReadBack) : "");
        EXPECT_EQ(std::ranges::count_if(seen, [](auto& s) { return !s.starts_with("flush"); }),
                  route == 1 && givesOther ? 1 : 0);
        if (!givesOther) {  // a copy reads back until the stick gives other bytes, or more
            const std::string copied = folder.at("MAQ12306.MP4");
            const auto readsBack = [&] {
                return FileOperations().readsBack(folder.at("clip.MP4"), copied) ==
                       read_back::Comparison::Same;
            };
            EXPECT_TRUE(readsBack());
            stick.givesOther = true;
            EXPECT_FALSE(readsBack());
            stick.givesOther = false;
            folder.write("MAQ12306.MP4", folder.read("clip.MP4") + "more");
            EXPECT_FALSE(readsBack());
            folder.remove("MAQ12306.MP4");
        }
    }
    stick.readBack = false;
    // A Cancel while the stick is read leaves nothing; nor does one seen once the copy is named.
    EXPECT_EQ(copy(0, "clip.MP4", "MAQ12307.MP4", [](auto, auto) { return !stick.readBack; }), "");
    EXPECT_EQ(copy(0, "clip.MP4", "MAQ12308.MP4",
                   [&](auto, auto) { return !folder.exists("MAQ12308.MP4"); }),
              "");
    // A source whose size can't be read fails on the source, never on its copy.
    folder.write("MAQ12309.MP4", folder.read("clip.MP4"));
    const StandIn sizes(
        __imp_GetFileSizeEx, +[](HANDLE, LARGE_INTEGER*) -> BOOL { return FALSE; });
    try {
        FileOperations().readsBack(folder.at("clip.MP4"), folder.at("MAQ12309.MP4"));
        ADD_FAILURE() << "a source of no size read back";
    } catch (const PlatformError& failure) {
        EXPECT_EQ(failure.path(), folder.at("clip.MP4"));
    }
    folder.remove("MAQ12309.MP4");
    std::ranges::sort(names);
    EXPECT_EQ(folder.names("."), names);
}

}  // namespace
}  // namespace velmora::win32
