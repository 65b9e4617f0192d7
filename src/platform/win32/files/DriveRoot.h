#pragma once

#include <string>

namespace velmora::win32 {

// The root of the drive that holds path, as the drive list writes roots, so that the two
// compare: "e:\" for a path on drive E: and "\\server\share\" for a network path, with or
// without the long-path prefix. Calls on one drive wait on each other's drive (see
// DriveCalls), so each is known by this.
std::string driveRootOf(const std::string& path);

}  // namespace velmora::win32
