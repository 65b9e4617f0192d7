#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace velmora {

// How far a copy run is, as its progress window says it under the video's name: which video of
// how many, the megabytes copied of the run's, and the time left once the copy has run long
// enough to tell, e.g. "2 of 5 · 12 of 40 MB · about 1 minute left". copied and elapsed are
// the video's own so far; the time left assumes the rest goes as fast.
std::string copyStepText(const CopyStep& step, std::uint64_t copied,
                         std::chrono::steady_clock::duration elapsed);

// Where the run's bar stands, in thousandths: the run's bytes where they are known, so that it
// never starts again at each video; the video's own otherwise.
int runThousandths(const CopyStep& step, std::uint64_t copied, std::uint64_t total);

}  // namespace velmora
