#pragma once

#include <chrono>
#include <functional>

namespace velmora {

// How the window's thread waits for work on another thread: it goes on painting and
// answering (the system's pings, screen readers, timers) and holds the user's clicks and keys
// back until the wait is over, then takes them as usual.
class AnsweringWait {
  public:
    using Clock = std::chrono::steady_clock;

    virtual ~AnsweringWait() = default;

    // Answers until finished() is true or the deadline has passed, looking at finished()
    // every few milliseconds.
    virtual void answerUntil(const std::function<bool()>& finished, Clock::time_point deadline) = 0;
    // From any thread, while answerUntil runs: makes it look at finished() at once.
    virtual void wake() {}
};

}  // namespace velmora
