#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

namespace velmora {

// Calls that may never return, such as any call on a network share whose server has gone,
// made on threads of their own and waited for a limited time, so that the window's thread
// goes on. Each call is known by a key (the volume it asks); a key whose last call has not
// returned gets no new one and has no answer at once, so stuck threads don't pile up.
template <typename Answer>
class TimeLimitedCalls {
  public:
    explicit TimeLimitedCalls(std::chrono::milliseconds limit) : limit_(limit) {}

    // The call's answer; nothing when it did not come within the limit. The call must own
    // all it touches: it may outlive this object, and a call stuck in the kernel ends only
    // with the program.
    std::optional<Answer> call(const std::string& key, std::function<Answer()> work) {
        const std::lock_guard lock(mutex_);
        if (const auto earlier = unanswered_.find(key); earlier != unanswered_.end()) {
            if (earlier->second.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
                return std::nullopt;
            }
            unanswered_.erase(earlier);
        }
        std::packaged_task<Answer()> task(std::move(work));
        std::shared_future<Answer> answer = task.get_future().share();
        std::thread(std::move(task)).detach();
        if (answer.wait_for(limit_) == std::future_status::ready) {
            return answer.get();
        }
        unanswered_.emplace(key, std::move(answer));
        return std::nullopt;
    }

  private:
    std::chrono::milliseconds limit_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::shared_future<Answer>> unanswered_;
};

}  // namespace velmora
