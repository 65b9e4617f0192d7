#pragma once

#include <atomic>
#include <cstdint>

namespace velmora {

// What work on a drive's thread (a copy, or the check of a run's copies) tells the window's
// thread, and the window's Cancel. Shared by both: work that stops answering is left behind and
// may end long after the window moved on.
struct CopyProgress {
    std::atomic<std::uint64_t> copied = 0;
    std::atomic<std::uint64_t> total = 0;  // 0 while there is nothing for the window to show
    std::atomic<bool> cancelled = false;
    std::atomic<bool> shellShows = false;  // while the shell copies, with a window of its own

    // As FileOperations::Progress: false once the user has cancelled.
    bool report(std::uint64_t copiedNow, std::uint64_t totalNow) {
        total = totalNow;
        copied = copiedNow;
        return !cancelled;
    }
};

}  // namespace velmora
