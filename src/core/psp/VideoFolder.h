#pragma once

#include <optional>
#include <string>

namespace velmora {

class Platform;

// The PSP keeps its videos in "100ANV01", else "101ANV01", inside "MP_ROOT" at the root of
// its memory stick. Roots end in the path separator; folder paths have none at the end.

// The video folder the stick at root already has; nothing when it has neither. Throws
// PlatformError when the drive can't be read.
std::optional<std::string> findVideoFolder(Platform& platform, const std::string& root);

// Makes "MP_ROOT" and "100ANV01" inside it where they are missing and gives the video
// folder. Throws PlatformError when a folder can't be made; what was made stays.
std::string makeVideoFolder(Platform& platform, const std::string& root);

}  // namespace velmora
