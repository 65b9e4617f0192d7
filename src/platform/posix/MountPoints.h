#pragma once

#include <string>
#include <vector>

#include "MountTable.h"

namespace velmora::posix {

// Which mounted volume a path lies on, by the mount table as last read: calls on one volume
// share its fate when it stops answering.
class MountPoints {
  public:
    explicit MountPoints(const std::vector<Mount>& table);

    // The mount point of the volume holding path, by its text (links are not followed),
    // ending in "/"; "/" for a path on no other mount.
    std::string rootOf(const std::string& path) const;

  private:
    std::vector<std::string> roots_;  // longest first, each ending in "/"
};

}  // namespace velmora::posix
