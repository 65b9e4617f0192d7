#pragma once

#include <cstdint>
#include <functional>

#include "ReadBack.h"

namespace velmora::posix {

// Compares the file open at copy with the one open at source, at stretches drawn afresh (see
// read_back::stretchesToReadBack), reading the copy as the device holds it rather than as the
// page cache does: opened once more with O_DIRECT where the file system takes it; elsewhere
// its cached pages are dropped first, which leaves only what is on the device once it is
// synced (and a FUSE file opened again is read from its server). A copy of another size
// differs. A read that fails throws CopyFailure, whose atSource says which file failed.
read_back::Comparison compareUncached(int source, int copy,
                                      const std::function<bool()>& keepGoing = {});

}  // namespace velmora::posix
