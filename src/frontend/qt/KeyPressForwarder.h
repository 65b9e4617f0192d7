#pragma once

#include <QObject>

#include "RaiseEvent.h"

namespace velmora::qt {

// Hands every key press on the watched control to its key handler as a character code
// first, then lets the control handle the key as usual.
class KeyPressForwarder : public QObject {
  public:
    KeyPressForwarder(RaiseEvent raise, QObject* watched);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    RaiseEvent raise_;
};

}  // namespace velmora::qt
