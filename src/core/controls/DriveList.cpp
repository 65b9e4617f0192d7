#include "controls/DriveList.h"

#include "platform/Names.h"

namespace velmora {
namespace {

// Roots end in a separator; a path lies on a drive when it starts with the root, or is the
// root without its separator.
bool holds(const std::string& root, const std::string& path) {
    if (path.size() + 1 == root.size()) {
        return equalsIgnoreCase(root.substr(0, path.size()), path);
    }
    return path.size() >= root.size() && equalsIgnoreCase(path.substr(0, root.size()), root);
}

}  // namespace

DriveList::DriveList(ControlDescription description, Platform& platform)
    : Control(std::move(description)), platform_(platform) {
    Refresh();
}

std::string DriveList::Drive() const {
    return current_ >= 0 ? entries_[static_cast<std::size_t>(current_)].text : std::string();
}

std::string DriveList::Root() const {
    return current_ >= 0 ? entries_[static_cast<std::size_t>(current_)].root : std::string();
}

void DriveList::Refresh() {
    const std::string currentRoot = Root();
    entries_ = platform_.listDrives();
    current_ = entries_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].root == currentRoot) {
            current_ = static_cast<int>(i);
        }
    }
    entriesChanged.emit();
}

void DriveList::setListIndex(int index) {
    if (index >= 0 && index < static_cast<int>(entries_.size()) && index != current_) {
        current_ = index;
        changed.emit();
    }
}

void DriveList::selectDriveHolding(const std::string& path) {
    std::size_t best = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::string& root = entries_[i].root;
        if (holds(root, path) && root.size() > best) {
            best = root.size();
            current_ = static_cast<int>(i);
        }
    }
    changed.emit();
}

}  // namespace velmora
