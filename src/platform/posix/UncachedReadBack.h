#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ReadBack.h"

namespace velmora::posix {

// Compares the file open at copy with the one open at source (whose path names the drive its
// reads wait on), at stretches drawn afresh (see read_back::stretchesToReadBack), reading the
// copy as the device holds it rather than as the page cache does. A copy of another size
// differs. A read that fails throws CopyFailure, whose atSource says which file failed.
read_back::Comparison compareUncached(int source, const std::string& sourcePath, int copy,
                                      const std::function<bool()>& keepGoing = {});

}  // namespace velmora::posix
