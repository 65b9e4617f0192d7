#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace velmora {

// How the window's thread waits for work on another thread: it goes on painting and
// answering (the system's pings, screen readers, timers) and holds the user's clicks and keys
// back until the wait is over, then takes them as usual. While it waits, the busy pointer
// shows; once it has waited kShowWaitingAfter, a small window names the drive it waits for and
// offers Cancel.
class AnsweringWait {
  public:
    using Clock = std::chrono::steady_clock;

    // Long enough that the many calls that answer within moments show no window, short enough
    // that a user who waits for a stick sees why.
    static constexpr std::chrono::milliseconds kShowWaitingAfter{1000};

    virtual ~AnsweringWait() = default;

    // Answers until over() is true, looking at it every few milliseconds, while the work waits
    // on the drive at root. False when the user gave up waiting (Cancel).
    virtual bool answerUntil(const std::function<bool()>& over, const std::string& root) = 0;
    // From any thread, while answerUntil runs: makes it look at over() at once.
    virtual void wake() {}

    // What the waiting window says.
    static std::string waitingText(const std::string& root) {
        std::string drive = root;
        if (drive.size() > 1 && (drive.back() == '/' || drive.back() == '\\')) {
            drive.pop_back();
        }
        return "Waiting for the drive " + drive + " \u2026";
    }
};

}  // namespace velmora
