// Asks a window of another process every 10 ms, as a screen reader or the system does (see
// WindowPinger.h). Stops once the window is gone and prints the longest wait, and when it
// began. copy_gap_bench.exe starts it on its own window.
// Usage: window_pinger.exe WINDOW-HANDLE   (the handle as a decimal number)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "WindowPinger.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WINDOW-HANDLE\n", argv[0]);
        return 2;
    }
    const auto window = reinterpret_cast<HWND>(std::strtoull(argv[1], nullptr, 10));
    const WindowPinger pinger(window, 10);
    while (IsWindow(window)) {
        Sleep(50);
    }
    std::printf(
        "longest gap without an answer to another process: %.3f s, from %.2f s on "
        "(%.3f s with Wine's own stalls)\n",
        pinger.longest(), pinger.longestFrom(), pinger.longestWithStalls());
    return 0;
}
