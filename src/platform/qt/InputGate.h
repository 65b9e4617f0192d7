#pragma once

#include <QObject>
#include <memory>

namespace velmora::qt {

// Closes the program's windows to the user while a copy runs, as a disabled owner window is
// on Windows: clicks, keys, input-method text, drops and the close button reach only the
// modal dialog that is up, if any, and are dropped, not queued, everywhere else. Nested
// closings count.
class ClosedToInput {
  public:
    ClosedToInput();
    // Reopens only once the event loop that ran the copy's handler runs again and has dropped
    // what came in meanwhile, so the steps that follow a copy (its thumbnail, the refresh)
    // stay closed too, even where they wait for the stick in an event loop of their own.
    ~ClosedToInput();
    ClosedToInput(const ClosedToInput&) = delete;
    ClosedToInput& operator=(const ClosedToInput&) = delete;
};

// While it lives, the program's windows refuse to close, so that a handler waiting for a
// drive in an event loop finishes first; the user's clicks and keys are not dropped here (the
// loop leaves them queued for afterwards).
class NoClosing {
  public:
    NoClosing();
    ~NoClosing();
    NoClosing(const NoClosing&) = delete;
    NoClosing& operator=(const NoClosing&) = delete;

  private:
    std::unique_ptr<QObject> refusal_;
};

}  // namespace velmora::qt
