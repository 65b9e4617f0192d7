#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace velmora {

// The PSP keeps its videos in "100ANV01", else "101ANV01", inside "MP_ROOT" at the root of
// its memory stick. Roots end in the path separator; folder paths have none at the end.

// The volume of the drive at root. Throws PlatformError when the drive isn't ready.
VolumeId volumeOfDrive(Platform& platform, const std::string& root);

// Whether path leads to that volume now; false when it can't be reached.
bool isOnVolume(Platform& platform, const std::string& path, VolumeId volume);

// The video folder the stick at root, of that volume, already has; nothing when it has
// neither, or when one leads off the stick (a link to another file system). Throws
// PlatformError when the drive can't be read.
std::optional<std::string> findVideoFolder(Platform& platform, const std::string& root,
                                           VolumeId volume);

// Makes "MP_ROOT" and "100ANV01" inside it where they are missing and gives the video
// folder. Throws PlatformError when a folder can't be made, or when "MP_ROOT" or the video
// folder leads off the volume, before anything is made there; what was made stays.
std::string makeVideoFolder(Platform& platform, const std::string& root, VolumeId volume);

}  // namespace velmora
