#pragma once
// Asks a window of another process every few milliseconds, as a screen reader or the system
// does: sends it WM_NULL and keeps the longest wait for its answer. Wine's server opens files
// itself, so while it opens one on a slow stick, every program's messages wait, these too; a
// second thread measures those stalls by asking the server for nothing every few milliseconds,
// and longest() counts each wait less the stalls within it. On Windows there are none.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class WindowPinger {
    using Clock = std::chrono::steady_clock;
    struct Span {
        Clock::time_point from, to;
    };

  public:
    WindowPinger(HWND window, DWORD every)
        : stalls_([this](const std::stop_token& stop) {
              for (; !stop.stop_requested(); Sleep(2)) {
                  const auto from = Clock::now();
                  WaitForSingleObject(GetCurrentProcess(), 0);  // a question of the server
                  if (Clock::now() - from > std::chrono::milliseconds(20)) {
                      const std::lock_guard lock(mutex_);
                      stalled_.push_back({from, Clock::now()});
                  }
              }
          }),
          pings_([this, window, every](const std::stop_token& stop) {
              for (std::optional<Span> last; !stop.stop_requested(); Sleep(every)) {
                  if (last) {
                      keep(*last);
                  }
                  last = Span{Clock::now(), {}};
                  DWORD_PTR result = 0;
                  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 600'000, &result);
                  last->to = Clock::now();
              }
          }) {}

    // The longest wait, less Wine's stalls; with them; and when it began, since the start.
    double longest() const { return longest_; }
    double longestWithStalls() const { return longestWithStalls_; }
    double longestFrom() const { return longestFrom_; }

  private:
    void keep(const Span& wait) {
        Clock::duration beyond = wait.to - wait.from;
        {
            const std::lock_guard lock(mutex_);
            // Waits come in order: a stall over before this one began overlaps no later wait.
            std::erase_if(stalled_, [&](const Span& stall) { return stall.to < wait.from; });
            for (const Span& stall : stalled_) {
                beyond -= std::max(Clock::duration::zero(),
                                   std::min(stall.to, wait.to) - std::max(stall.from, wait.from));
            }
        }
        longestWithStalls_ = std::max(longestWithStalls_.load(), seconds(wait.to - wait.from));
        if (seconds(beyond) > longest_) {
            longest_ = seconds(beyond);
            longestFrom_ = seconds(wait.from - start_);
        }
    }
    static double seconds(Clock::duration time) {
        return std::chrono::duration<double>(time).count();
    }

    const Clock::time_point start_ = Clock::now();
    std::mutex mutex_;
    std::vector<Span> stalled_;
    std::atomic<double> longest_{0}, longestWithStalls_{0}, longestFrom_{0};
    std::jthread stalls_, pings_;
};
