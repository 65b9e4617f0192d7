#include "Drives.h"

#include <QStorageInfo>
#include <algorithm>
#include <array>
#include <string_view>

namespace velmora::qt {
namespace {

struct RemovableParent {
    std::string_view path;
    std::size_t maxDepth;  // folders below the parent
};

constexpr std::array<RemovableParent, 3> kRemovableParents{
    {{"/media/", 2}, {"/run/media/", 2}, {"/mnt/", 1}}};

// A volume without a label of its own is known as file managers show it: the root file
// system by that name, any other by the last part of its mount point.
std::string labelOf(const QStorageInfo& volume, const std::string& mountPoint) {
    const std::string name = volume.name().toStdString();
    if (!name.empty()) {
        return name;
    }
    if (mountPoint == "/") {
        return "File System";
    }
    return mountPoint.substr(mountPoint.find_last_of('/') + 1);
}

}  // namespace

bool isRemovableMountPoint(const std::string& mountPoint) {
    return std::any_of(
        kRemovableParents.begin(), kRemovableParents.end(),
        [&mountPoint](const RemovableParent& parent) {
            if (mountPoint.size() <= parent.path.size() || !mountPoint.starts_with(parent.path)) {
                return false;
            }
            const auto rest = std::string_view(mountPoint).substr(parent.path.size());
            return static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '/')) <
                   parent.maxDepth;
        });
}

DriveEntry driveEntry(const std::string& mountPoint, const std::string& label) {
    DriveEntry entry;
    entry.text = label.empty() ? mountPoint : mountPoint + " [" + label + "]";
    entry.root = mountPoint.ends_with('/') ? mountPoint : mountPoint + "/";
    return entry;
}

std::vector<DriveEntry> userVisibleDrives() {
    std::vector<DriveEntry> drives;
    const QStorageInfo root = QStorageInfo::root();
    drives.push_back(driveEntry("/", labelOf(root, "/")));

    std::vector<std::pair<std::string, std::string>> removable;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const std::string mountPoint = volume.rootPath().toStdString();
        if (volume.isValid() && volume.isReady() && isRemovableMountPoint(mountPoint)) {
            removable.emplace_back(mountPoint, labelOf(volume, mountPoint));
        }
    }
    std::sort(removable.begin(), removable.end());
    // A volume mounted twice at one place (a bind mount) is still one drive.
    removable.erase(std::unique(removable.begin(), removable.end(),
                                [](const auto& a, const auto& b) { return a.first == b.first; }),
                    removable.end());
    for (const auto& [mountPoint, label] : removable) {
        drives.push_back(driveEntry(mountPoint, label));
    }
    return drives;
}

}  // namespace velmora::qt
