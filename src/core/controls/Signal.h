#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace velmora {

// A model tells its views that it changed; views subscribe once for the life of the window,
// so there is no unsubscribe.
template <typename... Args>
class Signal {
  public:
    void connect(std::function<void(Args...)> slot) { slots_.push_back(std::move(slot)); }

    void emit(Args... args) const {
        for (const auto& slot : slots_) {
            slot(args...);
        }
    }

  private:
    std::vector<std::function<void(Args...)>> slots_;
};

}  // namespace velmora
