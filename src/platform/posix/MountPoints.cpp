#include "MountPoints.h"

#include <algorithm>

namespace velmora::posix {

MountPoints::MountPoints(const std::vector<Mount>& table) {
    for (const Mount& mount : table) {
        roots_.push_back(mount.mountPoint.ends_with('/') ? mount.mountPoint
                                                         : mount.mountPoint + "/");
    }
    std::sort(roots_.begin(), roots_.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    roots_.erase(std::unique(roots_.begin(), roots_.end()), roots_.end());
}

std::string MountPoints::rootOf(const std::string& path) const {
    const std::string folder = path.ends_with('/') ? path : path + "/";
    const auto root = std::find_if(roots_.begin(), roots_.end(), [&folder](const std::string& r) {
        return folder.starts_with(r);
    });
    return root == roots_.end() ? "/" : *root;
}

}  // namespace velmora::posix
