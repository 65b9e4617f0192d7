#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "CopyProgress.h"
#include "DriveCalls.h"
#include "win32/window/ProgressWindow.h"

namespace velmora::win32 {

// Waits on the window's thread for a copy running on its drive's thread, the window painting
// and answering throughout and taking no input of the user's (see InputPause). Once the copy
// has had something to show for 200 ms, a progress window (see ProgressWindow) shows it,
// saying text, and passes its Cancel on through progress: the window closes at once,
// whatever the copy is waiting for. A copy that has nothing to show a second after its start
// (it hangs before its first byte) shows the window too, unless the shell shows its own. A copy
// that is merely slow is waited for as long as it takes; one that has not ended
// answer_within::kAfterCancel after Cancel is abandoned (its drive then counts as not answering
// until it ends). False when it was abandoned.
bool waitForCopy(HWND owner, DriveCalls::Running& copy, CopyProgress& progress, ProgressText text);

}  // namespace velmora::win32
