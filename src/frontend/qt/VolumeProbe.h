#pragma once

#include <chrono>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "TimeLimitedCalls.h"

namespace velmora::qt {

// Asks a mounted volume about its root off the window's thread, waiting a limited time for
// the answer: a network share whose server has gone, or a FUSE volume whose program hangs,
// can keep any call on it waiting for ever.
class VolumeProbe {
  public:
    struct Answer {
        bool rootIsFolder = false;
        std::uint64_t freeBytes = 0;     // available to the caller
        std::exception_ptr freeFailure;  // set when measuring the free space failed
    };

    explicit VolumeProbe(std::chrono::milliseconds limit) : calls_(limit) {}

    // Nothing when the volume holding root did not answer within the limit, or has not yet
    // answered an earlier probe.
    std::optional<Answer> ask(const std::string& root);

  private:
    TimeLimitedCalls<Answer> calls_;
};

}  // namespace velmora::qt
