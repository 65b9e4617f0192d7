// Asks a window of another process every 10 ms, as a screen reader or the system does: sends
// it WM_NULL and waits for the answer. Stops once the window is gone and prints the longest
// wait, and when it began. copy_gap_bench.exe starts it on its own window.
// Usage: window_pinger.exe WINDOW-HANDLE   (the handle as a decimal number)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WINDOW-HANDLE\n", argv[0]);
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    const auto window = reinterpret_cast<HWND>(std::strtoull(argv[1], nullptr, 10));
    const auto start = Clock::now();
    double longest = 0;
    double longestAt = 0;
    while (IsWindow(window)) {
        const auto asked = Clock::now();
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 600'000, &answer);
        if (const double gap = std::chrono::duration<double>(Clock::now() - asked).count();
            gap > longest) {
            longest = gap;
            longestAt = std::chrono::duration<double>(asked - start).count();
        }
        Sleep(10);
    }
    std::printf("longest gap without an answer to another process: %.3f s, from %.2f s on\n",
                longest, longestAt);
    return 0;
}
