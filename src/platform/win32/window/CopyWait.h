#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "DriveCalls.h"

namespace velmora::win32 {

// What a copy on its drive's thread tells the window's thread, and the window's Cancel.
// Shared by both: a copy that stops answering is left behind and may end long after.
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

// Waits on the window's thread for a copy running on its drive's thread, the window painting
// and answering throughout and taking no input of the user's (see InputPause). Once the copy
// has had something to show for 200 ms, a progress window (see ProgressWindow) shows it,
// naming from and to, and passes its Cancel on through progress: the window closes at once,
// whatever the copy is waiting for. A copy that has nothing to show a second after its start
// (it hangs before its first byte) shows the window too, unless the shell shows its own. A copy
// that is merely slow is waited for as long as it takes; one that has not ended
// answer_within::kAfterCancel after Cancel is abandoned (its drive then counts as not answering
// until it ends). False when it was abandoned.
bool waitForCopy(HWND owner, DriveCalls::Running& copy, CopyProgress& progress,
                 const std::string& from, const std::string& to);

}  // namespace velmora::win32
