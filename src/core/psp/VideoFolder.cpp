#include "psp/VideoFolder.h"

#include <string_view>

#include "platform/Paths.h"
#include "platform/Platform.h"
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

void makeMissingFolder(Platform& platform, const std::string& path) {
    if (!platform.isFolder(path)) {
        platform.makeFolder(path);
    }
}

}  // namespace

std::optional<std::string> findVideoFolder(Platform& platform, const std::string& root) {
    // Offering to make folders on a drive that is not ready could put them on the wrong disk.
    if (!platform.isDriveReady(root)) {
        throw PlatformError("Reading the drive", root, "The drive is not ready.");
    }
    for (std::string_view name : {kFirstVideoFolder, kSecondVideoFolder}) {
        const std::string folder = mediaRoot(root) + std::string(name);
        if (holdsFolder(platform, folder, name)) {
            return folder;
        }
    }
    return std::nullopt;
}

std::string makeVideoFolder(Platform& platform, const std::string& root) {
    makeMissingFolder(platform, root + std::string(kMediaFolder));
    const std::string folder = mediaRoot(root) + std::string(kFirstVideoFolder);
    makeMissingFolder(platform, folder);
    return folder;
}

}  // namespace velmora
