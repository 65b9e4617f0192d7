#include "Drives.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <string_view>
#include <system_error>
#include <unordered_map>

namespace velmora::posix {
namespace {

struct RemovableParent {
    std::string_view path;
    std::size_t maxDepth;  // folders below the parent
};

constexpr std::array<RemovableParent, 3> kRemovableParents{
    {{"/media/", 2}, {"/run/media/", 2}, {"/mnt/", 1}}};

using LabelsByDevice = std::unordered_map<std::string, std::string>;

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// udev names a label's link with \x and two hex digits for each byte a file name can't hold.
std::string decodedLabel(std::string label) {
    for (auto at = label.find("\\x"); at != std::string::npos; at = label.find("\\x", at + 1)) {
        if (at + 3 < label.size() && isHexDigit(label[at + 2]) && isHexDigit(label[at + 3])) {
            label.replace(at, 4, 1,
                          static_cast<char>(std::stoi(label.substr(at + 2, 2), nullptr, 16)));
        }
    }
    return label;
}

// The path a link leads to, or empty when it leads nowhere.
std::string canonicalOf(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? std::string() : target.string();
}

// The volume labels the system knows, by the device that holds them: the links of
// /dev/disk/by-label, which name the device, so no mounted volume is asked.
LabelsByDevice volumeLabels() {
    LabelsByDevice labels;
    std::error_code error;
    for (const auto& link : std::filesystem::directory_iterator("/dev/disk/by-label", error)) {
        if (std::string device = canonicalOf(link.path()); !device.empty()) {
            labels.emplace(std::move(device), decodedLabel(link.path().filename().string()));
        }
    }
    return labels;
}

// A volume without a label of its own is known as file managers show it: the root file
// system by that name, any other by the last part of its mount point.
std::string labelOf(const LabelsByDevice& labels, const std::string& mountPoint,
                    const std::string& source) {
    // Only a device path is resolved: any other source would be taken as a relative path.
    if (source.starts_with("/dev/")) {
        if (const auto label = labels.find(canonicalOf(source)); label != labels.end()) {
            return label->second;
        }
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

std::vector<DriveEntry> userVisibleDrives(std::vector<Mount> table) {
    // A later mount at a place covers the earlier ones there, so each place is one drive.
    std::string rootSource;
    std::map<std::string, std::string> removableSources;
    for (Mount& mount : table) {
        if (mount.mountPoint == "/") {
            rootSource = std::move(mount.source);
        } else if (isRemovableMountPoint(mount.mountPoint)) {
            removableSources.insert_or_assign(std::move(mount.mountPoint), std::move(mount.source));
        }
    }
    const LabelsByDevice labels = volumeLabels();
    std::vector<DriveEntry> drives{driveEntry("/", labelOf(labels, "/", rootSource))};
    for (const auto& [mountPoint, source] : removableSources) {
        drives.push_back(driveEntry(mountPoint, labelOf(labels, mountPoint, source)));
    }
    return drives;
}

}  // namespace velmora::posix
