#pragma once

#include <QObject>

#include "AnsweringWait.h"

class QEventLoop;

namespace velmora::qt {

// Waits in a nested event loop that leaves the user's input queued (Qt's
// ExcludeUserInputEvents): the windows repaint, timers and screen readers are answered, and
// what the user typed or clicked meanwhile is taken once the handler that waits is done. The
// windows refuse to close until then. Once the waiting window is up, it is application-modal
// and takes the user's input: its Cancel, Escape or close gives up the wait.
class EventLoopWait : public AnsweringWait {
  public:
    bool answerUntil(const std::function<bool()>& over, const std::string& root) override;
    void wake() override;

  private:
    QObject ear_;  // takes wake's call on the window's thread
    QEventLoop* loop_ = nullptr;
};

}  // namespace velmora::qt
