#pragma once

#include <string>
#include <vector>

#include "MountTable.h"
#include "platform/Platform.h"

namespace velmora::posix {

// The drive list's entry for a volume: its mount point, then its label in brackets when it
// has one; the root is the mount point ending in "/".
DriveEntry driveEntry(const std::string& mountPoint, const std::string& label);

// Whether a volume mounted there is one a user plugged in: /mnt/<name>, /media/<name>,
// /media/<user>/<name> or /run/media/<user>/<name>. Deeper mounts are the system's own.
bool isRemovableMountPoint(const std::string& mountPoint);

// The volumes a user sees as drives among the mounts of a table: the root file system, then
// every volume mounted under /media, /run/media or /mnt (memory sticks and cards), each once,
// by mount point, with the label of its device. Reads the device labels, never a volume
// itself, so a volume that doesn't answer is listed too.
std::vector<DriveEntry> userVisibleDrives(std::vector<Mount> table);

}  // namespace velmora::posix
