#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

#include "AnsweringWait.h"

namespace velmora::win32 {

// Which of its messages the window's thread takes while it waits.
enum class Taking {
    // All of them: a copy's wait, whose progress window takes clicks and keys while the
    // window drops its own (see InputPause).
    Everything,
    // Sent and posted messages, painting and timers; the user's keys and clicks, and the
    // clicks, commands and closings that other programs post, stay queued for afterwards,
    // in their order.
    AllButInput,
};

// Dispatches the calling thread's messages, each within moments of its arrival, until
// finished() is true or the deadline has passed, looking at finished() every few
// milliseconds; calls watch (if any) about every 50 ms on time whatever the flow of messages.
// A WM_QUIT that arrives meanwhile is posted again afterwards, for the loop that waits for it.
void answerMessagesUntil(const std::function<bool()>& finished,
                         std::chrono::steady_clock::time_point deadline, Taking taking,
                         const std::function<void()>& watch = {});

// The window's thread waiting for a call on a drive (see DriveCalls): Taking::AllButInput.
class MessagePumpWait : public AnsweringWait {
  public:
    void answerUntil(const std::function<bool()>& finished, Clock::time_point deadline) override {
        answerMessagesUntil(finished, deadline, Taking::AllButInput);
    }
};

}  // namespace velmora::win32
