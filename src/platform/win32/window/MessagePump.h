#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "AnsweringWait.h"

namespace velmora::win32 {

// Which of its messages the window's thread takes while it waits.
enum class Taking {
    // All of them: a copy's wait, while the window drops the user's keys and clicks (see
    // InputPause); its progress window takes them on a thread of its own.
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

// The window's thread waiting for a call on a drive (see DriveCalls): Taking::AllButInput,
// the busy pointer over the window, and after a second a progress window owned by it that
// names the drive and offers Cancel.
class MessagePumpWait : public AnsweringWait {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    // While it waits: the window shows the busy pointer and holds a close until its handler ends.
    bool waiting() const { return waiting_; }

    bool answerUntil(const std::function<bool()>& over, const std::string& root) override;

  private:
    HWND owner_ = nullptr;
    bool waiting_ = false;
};

}  // namespace velmora::win32
