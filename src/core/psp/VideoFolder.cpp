#include "psp/VideoFolder.h"

#include <string_view>

#include "platform/Paths.h"
#include "platform/PlatformError.h"

namespace velmora {
namespace {

constexpr std::string_view kMediaFolder = "MP_ROOT";
constexpr std::string_view kFirstVideoFolder = "100ANV01";
constexpr std::string_view kSecondVideoFolder = "101ANV01";

std::string mediaRoot(const std::string& root) {
    return root + std::string(kMediaFolder) + kPathSeparator;
}

// The PSP writes its folder names in capitals; a folder spelt otherwise is not taken as its.
bool holdsFolder(Platform& platform, const std::string& path, std::string_view name) {
    return platform.findFirst(path, lookup::kFoldersToo) == name;
}

// A folder that leads to another volume would have the next folder made, and videos copied
// and deleted, on the computer's own disk.
void makeMissingFolder(Platform& platform, const std::string& path, VolumeId volume) {
    if (!platform.isFolder(path)) {
        platform.makeFolder(path);
    }
    if (!isOnVolume(platform, path, volume)) {
        throw PlatformError("Making the folder", path, "The folder leads off the drive.");
    }
}

}  // namespace

VolumeId volumeOfDrive(Platform& platform, const std::string& root) {
    // Offering to make folders on a drive that is not ready could put them on the wrong disk.
    if (!platform.isDriveReady(root)) {
        throw PlatformError("Reading the drive", root, "The drive is not ready.");
    }
    return platform.volumeOf(root);
}

bool isOnVolume(Platform& platform, const std::string& path, VolumeId volume) {
    try {
        return platform.volumeOf(path) == volume;
    } catch (const PlatformError&) {
        return false;
    }
}

std::optional<std::string> findVideoFolder(Platform& platform, const std::string& root,
                                           VolumeId volume) {
    for (std::string_view name : {kFirstVideoFolder, kSecondVideoFolder}) {
        const std::string folder = mediaRoot(root) + std::string(name);
        if (holdsFolder(platform, folder, name) && isOnVolume(platform, folder, volume)) {
            return folder;
        }
    }
    return std::nullopt;
}

std::string makeVideoFolder(Platform& platform, const std::string& root, VolumeId volume) {
    makeMissingFolder(platform, root + std::string(kMediaFolder), volume);
    const std::string folder = mediaRoot(root) + std::string(kFirstVideoFolder);
    makeMissingFolder(platform, folder, volume);
    return folder;
}

}  // namespace velmora
