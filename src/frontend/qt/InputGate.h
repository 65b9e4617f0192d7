#pragma once

#include <QObject>

namespace velmora::qt {

// Closes the program's windows to the user while a copy runs, as a disabled owner window is
// on Windows: clicks, keys, input-method text, drops and the close button reach only the
// modal dialog that is up, if any, and are dropped, not queued, everywhere else. Nested
// closings count.
class ClosedToInput {
  public:
    ClosedToInput();
    // Reopens only once the event loop runs again and has dropped what came in meanwhile, so
    // the steps that follow a copy synchronously (its thumbnail, the refresh) stay closed too.
    ~ClosedToInput();
    ClosedToInput(const ClosedToInput&) = delete;
    ClosedToInput& operator=(const ClosedToInput&) = delete;
};

}  // namespace velmora::qt
