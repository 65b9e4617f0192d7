#pragma once

#include "AnsweringWait.h"

namespace velmora::qt {

// Waits in a nested event loop that leaves the user's input queued (Qt's
// ExcludeUserInputEvents): the windows repaint, timers and screen readers are answered, and
// what the user typed or clicked meanwhile is taken once the handler that waits is done. The
// windows refuse to close until then.
class EventLoopWait : public AnsweringWait {
  public:
    void answerUntil(const std::function<bool()>& finished, Clock::time_point deadline) override;
};

}  // namespace velmora::qt
