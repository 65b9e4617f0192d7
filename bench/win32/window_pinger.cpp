// Asks a window of another process every 10 ms, as a screen reader or the system does (see
// WindowPinger.h). Stops once the window is gone, or the named event is set, and prints the
// longest wait, and when it began. copy_gap_bench.exe and the Windows window tests start it on
// their windows.
// Usage: window_pinger.exe WINDOW-HANDLE [STOP-EVENT]   (the handle as a decimal number)
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
    const HANDLE stop = argc > 2 ? OpenEventA(SYNCHRONIZE, FALSE, argv[2]) : nullptr;
    const WindowPinger pinger(window, 10);
    while (IsWindow(window) &&
           (stop == nullptr ? (Sleep(50), true) : WaitForSingleObject(stop, 50) == WAIT_TIMEOUT)) {
    }
    std::printf(
        "longest gap without an answer to another process: %.3f s, from %.2f s on "
        "(%.3f s with Wine's own stalls)\n",
        pinger.longest(), pinger.longestFrom(), pinger.longestWithStalls());
    return 0;
}
