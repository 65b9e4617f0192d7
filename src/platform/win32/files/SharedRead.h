#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::win32 {

// A whole file's bytes, read while other programs may go on writing, renaming or deleting it
// (a thumbnail that an editor holds open is still shown). Nothing when the file is larger
// than limit; throws PlatformError, naming operation, when it can't be read.
std::optional<std::string> readShared(const std::string& path, std::uint64_t limit,
                                      const std::string& operation);

}  // namespace velmora::win32
