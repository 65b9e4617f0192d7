// A copy on a slow stick, as the window lives it. While Velmora copies one video by its own copy
// (the target lies deeper than the shell takes), or with --by-shell by the shell's, a second
// thread sends the window a message every 10 ms and keeps the longest wait for its answer. It
// also notes when the own copy's progress window shows every byte written, the copy then
// waiting for the final flush; with --cancel-in-flush it presses Cancel then and times until
// that window has gone. bench/win-copy-gap.sh makes the slow stick and runs this under Wine.
// Usage: copy_gap_bench.exe TARGET-FOLDER MEGABYTES [--by-shell | --cancel-in-flush]
#include <windows.h>
// needs the types that windows.h declares
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "FileOperations.h"
#include "win32/Wide.h"
#include "win32/Win32Platform.h"

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

// A source on the computer's own disk, of bytes that differ from block to block.
std::string writeSource(std::uint64_t megabytes) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"velmora-copy-gap.MP4";
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
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

// Whether the progress window shows every byte written: the copy then waits for the final
// flush.
bool barFull(HWND progress) {
    const HWND bar = FindWindowExW(progress, nullptr, PROGRESS_CLASSW, nullptr);
    if (bar == nullptr) {
        return false;
    }
    const auto high = SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
    return high > 0 && SendMessageW(bar, PBM_GETPOS, 0, 0) >= high;
}

// Presses Cancel in the progress window; the seconds until it has gone.
double cancel(HWND progress) {
    const auto start = Clock::now();
    PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(progress, IDCANCEL)));
    while (IsWindow(progress) && IsWindowVisible(progress)) {
        Sleep(1);
    }
    return secondsSince(start);
}

// What the window lived through while the copy ran.
struct Watch {
    double longestGap = 0;
    double longestGapAt = 0;
    double barFullAt = -1;  // when the copy had written every byte
    double cancelTook = -1;
};

// Asks the window every 10 ms until copying ends; with cancelInFlush, presses Cancel once the
// bar is full.
Watch watchWindow(HWND window, Clock::time_point start, const std::atomic<bool>& copying,
                  bool cancelInFlush) {
    Watch watch;
    while (copying) {
        const auto asked = Clock::now();
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 600'000, &answer);
        if (const double gap = secondsSince(asked); gap > watch.longestGap) {
            watch.longestGap = gap;
            watch.longestGapAt = std::chrono::duration<double>(asked - start).count();
        }
        if (const HWND progress = ownedWindow(window);
            watch.barFullAt < 0 && progress != nullptr && barFull(progress)) {
            watch.barFullAt = secondsSince(start);
            if (cancelInFlush) {
                watch.cancelTook = cancel(progress);
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

// What the copy left in folder besides the copy under its name, which it then removes.
const char* clearStick(const FileOperations& files, const std::string& folder) {
    const std::string target = folder + "\\MAQ12301.MP4";
    const bool copied = files.findFirst(target, 0) == "MAQ12301.MP4";
    if (copied) {
        files.deleteFile(target);
    }
    if (!RemoveDirectoryW(win32::toWide("\\\\?\\" + folder).c_str())) {
        return "a temporary file";
    }
    return copied ? "the whole copy" : "nothing";
}

int run(const std::string& targetFolder, std::uint64_t megabytes, const std::string& round) {
    const bool cancelInFlush = round == "--cancel-in-flush";
    const HWND window = shownWindow();
    win32::Win32Platform platform;
    platform.setOwner(window);
    const FileOperations files;
    const std::string source = writeSource(megabytes);
    const std::string folder =
        targetFolder + "\\" + (round == "--by-shell" ? "shell" : std::string(250, 'd'));
    files.makeFolder(folder);

    std::atomic<bool> copying = true;
    std::atomic<bool> asked = false;
    Watch watch;
    const auto start = Clock::now();
    std::thread asker([&] {
        watch = watchWindow(window, start, copying, cancelInFlush);
        asked = true;
    });
    const ShellCopyResult result = platform.shellCopy(source, folder + "\\MAQ12301.MP4");
    const double copySeconds = secondsSince(start);
    copying = false;
    answerUntilAsked(asked);
    asker.join();
    DeleteFileW(win32::toWide(source).c_str());

    std::printf("copy of %llu MiB: %.2f s, every byte written after %.2f s, %s\n",
                static_cast<unsigned long long>(megabytes), copySeconds, watch.barFullAt,
                result.aborted     ? "cancelled"
                : result.code == 0 ? "copied"
                                   : "failed");
    std::printf("longest gap without an answer: %.3f s, from %.2f s on\n", watch.longestGap,
                watch.longestGapAt);
    if (cancelInFlush) {
        std::printf("Cancel in the flush: the progress window gone after %.3f s\n",
                    watch.cancelTook);
    }
    std::printf("left on the stick: %s\n", clearStick(files, folder));
    return 0;
}

}  // namespace
}  // namespace velmora::bench

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TARGET-FOLDER MEGABYTES [--by-shell | --cancel-in-flush]\n",
                     argv[0]);
        return 2;
    }
    return velmora::bench::run(argv[1], std::strtoull(argv[2], nullptr, 10),
                               argc > 3 ? argv[3] : "");
}
