#pragma once

#include <windows.h>

#include <functional>

namespace velmora::win32 {

// Runs work on a thread of its own while the calling thread, a window's, keeps answering its
// messages: sent and posted ones, painting and timers, each within moments of its arrival. Calls
// watch on the calling thread about every 50 ms until the work has ended. Returns once it has
// ended and throws here what it threw. A WM_QUIT that arrives meanwhile is posted again
// afterwards, for the loop that waits for it. Where no thread can be started, the work runs on
// the calling thread.
void runWhileAnswering(const std::function<void()>& work, const std::function<void()>& watch = {});

}  // namespace velmora::win32
