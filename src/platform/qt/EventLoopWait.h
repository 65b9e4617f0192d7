#pragma once

#include <QObject>

#include "AnsweringWait.h"

class QEventLoop;

namespace velmora::qt {

// Waits in a nested event loop that leaves the user's input queued (Qt's
// ExcludeUserInputEvents): the windows repaint, timers and screen readers are answered, and
// what the user typed or clicked meanwhile is taken once the handler that waits is done. The
// windows refuse to close until then.
class EventLoopWait : public AnsweringWait {
  public:
    void answerUntil(const std::function<bool()>& finished, Clock::time_point deadline) override;
    void wake() override;

  private:
    QObject ear_;  // takes wake's call on the window's thread
    QEventLoop* loop_ = nullptr;
};

}  // namespace velmora::qt
