#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::posix {

struct Mount {
    std::string mountPoint;
    std::string source;  // the device, such as /dev/sdb1, or what the file system calls it
};

// The mounts of a table in the kernel's mountinfo format, in its order, with the kernel's
// escapes in paths undone (\040 for a space). A later mount at the same place covers the
// earlier ones. Reads the table once, in time linear in its length.
std::vector<Mount> parseMountInfo(std::string_view table);

// The mounts this process sees, from /proc/self/mountinfo; none when it can't be read. Reads
// only the table, never a mounted volume, so a volume that doesn't answer can't hold it up.
std::vector<Mount> readMountTable();

}  // namespace velmora::posix
