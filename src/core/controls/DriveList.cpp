#include "controls/DriveList.h"

#include <algorithm>

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
    : Control(std::move(description)), platform_(platform), entries_(platform.listDrives()) {
    current_ = entries_.empty() ? -1 : 0;
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
    const auto kept = std::find_if(entries_.begin(), entries_.end(), [&](const DriveEntry& entry) {
        return !currentRoot.empty() && entry.root == currentRoot;
    });
    current_ = kept == entries_.end() ? -1 : static_cast<int>(kept - entries_.begin());
    if (current_ < 0) {
        pickedVolume_.reset();
    }
    entriesChanged.emit();
}

void DriveList::clearCurrent() {
    current_ = -1;
    pickedVolume_.reset();
    changed.emit();
}

void DriveList::setListIndex(int index) {
    if (index >= 0 && index < static_cast<int>(entries_.size()) && index != current_) {
        current_ = index;
        pickedVolume_.reset();
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
