#pragma once

#include "platform/Platform.h"

namespace velmora {

// The busy pointer while this lives.
class BusyCursor {
  public:
    explicit BusyCursor(Platform& platform) : platform_(platform) { platform_.setBusyCursor(true); }
    ~BusyCursor() { platform_.setBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    Platform& platform_;
};

}  // namespace velmora
