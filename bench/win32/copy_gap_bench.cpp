// A copy on a slow stick, as the window lives it. While Velmora copies one video by its own copy
// (the target lies deeper than the shell takes), and then its thumbnail, a second thread sends the
// window a message every 10 ms and keeps the longest wait for its answer, and the longest time the
// progress bar stood still. It also notes when the own copy's progress window shows every byte
// written, the copy then waiting for the final flush. The rounds other than the plain one:
//   --by-shell:        the shell's copy;
//   --deep-source:     the own copy of a video 32 folders deep onto the stick's top folder
//                      (the shell takes neither the path nor its short form);
//   --cancel-in-flush: Cancel pressed once every byte is written, timed until the progress
//                      window has gone;
//   --cancel-midway:   Cancel pressed once a tenth is written, timed until the copy returns;
//   --cancel-hung READY-FILE: as --deep-source onto a stick whose server bench/win-copy-gap.sh
//                      stops once this has written READY-FILE (6 MiB of 32 on the stick) and
//                      then writes READY-FILE.go; Cancel is pressed half a second later, and
//                      READY-FILE.done written once the copy has returned, to let it go on.
// Each round also has window_pinger.exe ask the window from a process of its own, as a screen
// reader does. And with --hung-drive, the waits of the handlers' calls on a stick that stopped
// answering: its drive letters s: to v: lead to the stick, whose server bench/win-copy-gap.sh
// stops once this has written READY-FILE, and then writes READY-FILE.go; the waiting windows
// are cancelled as they show, and the copy's progress window once it shows.
// bench/win-copy-gap.sh makes the slow stick and runs this under Wine.
// Usage: copy_gap_bench.exe TARGET-FOLDER MEGABYTES [ROUND [READY-FILE]]
//        copy_gap_bench.exe READY-FILE --hung-drive
#include <windows.h>
// needs the types that windows.h declares
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "FileOperations.h"
#include "OtherProcessPinger.h"
#include "platform/PlatformError.h"
#include "win32/Win32Platform.h"
#include "win32/files/FullPath.h"
#include "win32/text/Wide.h"

namespace velmora::bench {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

HWND shownWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"VelmoraCopyGapBench";
    RegisterClassW(&windowClass);
    const HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, L"Velmora", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                        300, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

// A thumbnail's worth of bytes beside the video, as the core copies it after the video.
void writeThumbnail(const std::wstring& path) {
    const HANDLE file = CreateFileW(win32::withLongPrefix(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
    const std::string bytes(8192, 't');
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A source on the computer's own disk, of bytes that differ from block to block, in folder,
// with its thumbnail.
std::string writeSource(const std::wstring& folder, std::uint64_t megabytes) {
    writeThumbnail(folder + L"\\velmora-copy-gap.THM");
    const std::wstring path = folder + L"\\velmora-copy-gap.MP4";
    const HANDLE file = CreateFileW(win32::withLongPrefix(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
    std::vector<std::uint64_t> block(1u << 17);
    std::uint64_t state = 88172645463325252ull;
    for (std::uint64_t m = 0; m < megabytes; ++m) {
        for (std::uint64_t& word : block) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        DWORD written = 0;
        WriteFile(file, block.data(), static_cast<DWORD>(block.size() * 8), &written, nullptr);
    }
    CloseHandle(file);
    return win32::toUtf8(path);
}

std::wstring temporaryFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"velmora-copy-gap";
}

// The source's folder: levels folders deep below a folder of the benchmark's own.
std::wstring makeSourceFolder(int levels) {
    std::wstring folder = temporaryFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int level = 0; level < levels; ++level) {
        folder += L"\\" + std::wstring(10, L'd');
        CreateDirectoryW(win32::withLongPrefix(folder).c_str(), nullptr);
    }
    return folder;
}

std::string thumbnailOf(const std::string& video) {
    return video.substr(0, video.size() - 3) + "THM";
}

void removeSource(const std::string& source) {
    DeleteFileW(win32::withLongPrefix(win32::toWide(thumbnailOf(source))).c_str());
    std::wstring path = win32::toWide(source);
    DeleteFileW(win32::withLongPrefix(path).c_str());
    while (path.size() > temporaryFolder().size()) {
        path.resize(path.find_last_of(L'\\'));
        RemoveDirectoryW(win32::withLongPrefix(path).c_str());
    }
}

// The visible window that owner owns: the copy's progress window.
HWND ownedWindow(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetWindow(window, GW_OWNER) == s->owner && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// How far the progress window's bar is, as a part of its length; -1 without a bar.
double barPart(HWND progress) {
    const HWND bar = FindWindowExW(progress, nullptr, PROGRESS_CLASSW, nullptr);
    const auto high = bar != nullptr ? SendMessageW(bar, PBM_GETRANGE, FALSE, 0) : 0;
    return high > 0 ? static_cast<double>(SendMessageW(bar, PBM_GETPOS, 0, 0)) /
                          static_cast<double>(high)
                    : -1;
}

// Presses Cancel in the progress window; with waitUntilGone, the seconds until it has gone.
double cancel(HWND progress, bool waitUntilGone) {
    const auto start = Clock::now();
    PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(progress, IDCANCEL)));
    while (waitUntilGone && IsWindow(progress) && IsWindowVisible(progress)) {
        Sleep(1);
    }
    return secondsSince(start);
}

// A message box's text, which its static holds; empty for any other window.
std::string messageOf(HWND window) {
    const HWND text = GetDlgItem(window, 0xFFFF);
    if (text == nullptr || FindWindowExW(window, nullptr, PROGRESS_CLASSW, nullptr) != nullptr) {
        return {};
    }
    wchar_t buffer[1024] = {};
    GetWindowTextW(text, buffer, 1024);
    return win32::toUtf8(buffer);
}

enum class Round { Plain, ByShell, DeepSource, CancelInFlush, CancelMidway, CancelHung };

// The part of a video of 32 MiB at which the stick stops answering in the hung round.
constexpr double kHangsAt = 6.0 / 32;

// What the window lived through while the copy ran.
struct Watch {
    double longestGap = 0;
    double longestGapAt = 0;
    double longestStill = 0;  // the bar unmoved, between its first showing and its end
    double barFullAt = -1;    // when the copy had written every byte
    double cancelTook = -1;
    double cancelledAt = -1;
    std::string told;  // what a message box said, which the watch then closed
};

// Keeps the longest time the bar of the progress window stood still before it was full.
class BarWatch {
  public:
    void look(HWND progress, Clock::time_point now, Watch& watch) {
        const double part = progress != nullptr ? barPart(progress) : -1;
        if (part < 0 || part >= 1) {
            return;
        }
        if (part != part_) {
            part_ = part;
            since_ = now;
        }
        watch.longestStill = std::max(watch.longestStill, seconds(now - since_));
    }

  private:
    static double seconds(Clock::duration time) {
        return std::chrono::duration<double>(time).count();
    }
    double part_ = -1;
    Clock::time_point since_;
};

// Asks the window every 10 ms until copying ends; presses Cancel as the round says.
Watch watchWindow(HWND window, Clock::time_point start, const std::atomic<bool>& copying,
                  Round round, const std::string& ready) {
    Watch watch;
    BarWatch bar;
    while (copying) {
        const auto asked = Clock::now();
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 600'000, &answer);
        if (const double gap = secondsSince(asked); gap > watch.longestGap) {
            watch.longestGap = gap;
            watch.longestGapAt = std::chrono::duration<double>(asked - start).count();
        }
        const HWND progress = ownedWindow(window);
        if (const std::string message = progress != nullptr ? messageOf(progress) : "";
            !message.empty()) {
            watch.told = message;
            PostMessageW(progress, WM_COMMAND, IDOK, 0);
            continue;
        }
        bar.look(progress, Clock::now(), watch);
        const double part = progress != nullptr ? barPart(progress) : -1;
        if (round == Round::CancelMidway && watch.cancelledAt < 0 && part >= 0.1) {
            watch.cancelledAt = secondsSince(start);
            cancel(progress, false);
        }
        if (round == Round::CancelHung && watch.cancelledAt < 0 && part >= kHangsAt) {
            std::fclose(std::fopen(ready.c_str(), "w"));
            while (GetFileAttributesW(win32::toWide(ready + ".go").c_str()) ==
                   INVALID_FILE_ATTRIBUTES) {
                Sleep(10);
            }
            Sleep(500);
            watch.cancelledAt = secondsSince(start);
            cancel(progress, false);
        }
        if (watch.barFullAt < 0 && part >= 1) {
            watch.barFullAt = secondsSince(start);
            if (round == Round::CancelInFlush) {
                watch.cancelTook = cancel(progress, true);
            }
        }
        Sleep(10);
    }
    return watch;
}

// The asker's last question may come after the copy: it is answered, as the window would.
void answerUntilAsked(const std::atomic<bool>& asked) {
    while (!asked) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
}

// What the copy left in folder besides the copy and its thumbnail under their names, which it
// then removes.
const char* clearStick(const FileOperations& files, const std::string& folder) {
    const std::string target = folder + "\\MAQ12301.MP4";
    const bool copied = files.findFirst(target, 0) == "MAQ12301.MP4";
    for (const std::string& name : {target, thumbnailOf(target)}) {
        if (!files.findFirst(name, 0).empty()) {
            files.deleteFile(name);
        }
    }
    if (!RemoveDirectoryW(win32::toWide("\\\\?\\" + folder).c_str())) {
        return "a temporary file";
    }
    return copied ? "the whole copy" : "nothing";
}

Round roundOf(const std::string& name) {
    for (const auto& [round, text] :
         {std::pair(Round::ByShell, "--by-shell"), std::pair(Round::DeepSource, "--deep-source"),
          std::pair(Round::CancelInFlush, "--cancel-in-flush"),
          std::pair(Round::CancelMidway, "--cancel-midway"),
          std::pair(Round::CancelHung, "--cancel-hung")}) {
        if (name == text) {
            return round;
        }
    }
    return Round::Plain;
}

// The target's folder: deeper than the shell takes, but for the rounds that copy by the shell
// or from a source deeper than that.
std::string targetFolderOf(const std::string& stick, Round round) {
    return stick + "\\" +
           (round == Round::ByShell || round == Round::DeepSource || round == Round::CancelHung
                ? "top"
                : std::string(250, 'd'));
}

void report(const Watch& watch, Round round, std::uint64_t megabytes, double copySeconds,
            const ShellCopyResult& result) {
    std::printf("copy of %llu MiB: %.2f s, every byte written after %.2f s, %s\n",
                static_cast<unsigned long long>(megabytes), copySeconds, watch.barFullAt,
                result.aborted     ? "cancelled"
                : result.code == 0 ? "copied"
                                   : "failed");
    std::printf("longest gap without an answer: %.3f s, from %.2f s on\n", watch.longestGap,
                watch.longestGapAt);
    std::printf("longest time the bar stood still: %.2f s\n", watch.longestStill);
    if (!watch.told.empty()) {
        std::printf("the user was told: %s\n", watch.told.c_str());
    }
    if (round == Round::CancelInFlush) {
        std::printf("Cancel in the flush: the progress window gone after %.3f s\n",
                    watch.cancelTook);
    }
    if ((round == Round::CancelMidway || round == Round::CancelHung) && watch.cancelledAt >= 0) {
        std::printf("Cancel midway: the copy returned after %.3f s\n",
                    copySeconds - watch.cancelledAt);
    }
}

// Answers window's messages until path exists.
void answerUntilThere(const std::wstring& path) {
    while (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// Closes what window's waits show as they show: a message box by OK, any other by Cancel.
void cancelWhatShows(HWND window, const std::atomic<bool>& waiting) {
    while (waiting) {
        if (const HWND shown = ownedWindow(window); shown == nullptr) {
        } else if (messageOf(shown).empty()) {
            cancel(shown, false);
        } else {
            PostMessageW(shown, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}

int runHungDrive(const std::string& ready) {
    const HWND window = shownWindow();
    win32::Win32Platform platform;
    platform.setOwner(window);
    const std::string source = writeSource(makeSourceFolder(0), 1);
    std::fclose(std::fopen(ready.c_str(), "w"));
    answerUntilThere(win32::toWide(ready + ".go"));
    OtherProcessPinger otherProcess(window);
    std::atomic<bool> waiting = true;
    std::thread canceller([&] { cancelWhatShows(window, waiting); });
    const std::pair<const char*, std::function<void()>> acts[] = {
        {"a click in the PSP list (its size)", [&] { platform.fileLengths({"s:\\MAQ12301.MP4"}); }},
        {"Backspace with Yes (the deletion)", [&] { platform.deleteFile("t:\\MAQ12301.MP4"); }},
        {"Copy with Yes (the stick's identity)", [&] { platform.volumeOf("u:\\"); }},
        {"a copy onto it, cancelled", [&] { platform.shellCopy(source, "v:\\MAQ12302.MP4", {}); }}};
    for (const auto& [act, call] : acts) {
        const auto start = Clock::now();
        const char* ending = "answered";
        try {
            call();
        } catch (const DriveNotAnswering&) {
            ending = "the drive counts as gone";
        } catch (const std::exception&) {
            ending = "failed";
        }
        std::printf("%s: %s after %.2f s\n", act, ending, secondsSince(start));
    }
    waiting = false;
    canceller.join();
    removeSource(source);
    std::fputs(otherProcess.stop().c_str(), stdout);
    DestroyWindow(window);
    return 0;
}

int run(const std::string& stick, std::uint64_t megabytes, Round round, const std::string& ready) {
    const HWND window = shownWindow();
    win32::Win32Platform platform;
    platform.setOwner(window);
    const FileOperations files;
    const std::string source = writeSource(
        makeSourceFolder(round == Round::DeepSource || round == Round::CancelHung ? 32 : 0),
        megabytes);
    const std::string folder = targetFolderOf(stick, round);
    files.makeFolder(folder);
    OtherProcessPinger otherProcess(window);

    std::atomic<bool> copying = true;
    std::atomic<bool> asked = false;
    Watch watch;
    const auto start = Clock::now();
    std::thread asker([&] {
        watch = watchWindow(window, start, copying, round, ready);
        asked = true;
    });
    const std::string target = folder + "\\MAQ12301.MP4";
    const ShellCopyResult result = platform.shellCopy(source, target, {});
    const double copySeconds = secondsSince(start);
    if (result.code == 0 && !result.aborted) {
        platform.copyFile(thumbnailOf(source), thumbnailOf(target));
    }
    copying = false;
    answerUntilAsked(asked);
    asker.join();
    if (round == Round::CancelHung) {
        std::fclose(std::fopen((ready + ".done").c_str(), "w"));
    }
    std::fputs(otherProcess.stop().c_str(), stdout);
    DestroyWindow(window);
    removeSource(source);
    report(watch, round, megabytes, copySeconds, result);
    std::printf("left on the stick: %s\n", clearStick(files, folder));
    return 0;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TARGET-FOLDER MEGABYTES [ROUND]\n", argv[0]);
        return 2;
    }
    if (std::string(argv[2]) == "--hung-drive") {
        return velmora::bench::runHungDrive(argv[1]);
    }
    return velmora::bench::run(argv[1], std::strtoull(argv[2], nullptr, 10),
                               velmora::bench::roundOf(argc > 3 ? argv[3] : ""),
                               argc > 4 ? argv[4] : "");
}
