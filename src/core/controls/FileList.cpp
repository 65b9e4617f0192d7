#include "controls/FileList.h"

#include <algorithm>
#include <unordered_set>

#include "platform/Names.h"
#include "platform/Platform.h"

namespace velmora {

FileList::FileList(ControlDescription description, Platform& platform, std::string pattern)
    : Control(std::move(description)), platform_(platform), pattern_(std::move(pattern)) {}

std::vector<std::string> FileList::readNames(const std::string& folder) const {
    std::vector<std::string> names = platform_.listFiles(folder);
    std::erase_if(names,
                  [this](const std::string& name) { return !matchesWildcard(name, pattern_); });
    sortIgnoringCase(names);
    return names;
}

void FileList::setPath(std::string path) {
    std::vector<std::string> names = readNames(path);
    path_ = std::move(path);
    replaceNames(std::move(names), false);
}

void FileList::Refresh() {
    replaceNames(path_.empty() ? std::vector<std::string>() : readNames(path_), true);
}

void FileList::clear() {
    path_.clear();
    replaceNames({}, false);
}

void FileList::replaceNames(std::vector<std::string> names, bool keepSelection) {
    std::unordered_set<std::string> kept;
    std::string currentName;
    if (keepSelection) {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (selected_[i]) {
                kept.insert(names_[i]);
            }
        }
        currentName = FileName();
    }
    names_ = std::move(names);
    selected_.assign(names_.size(), false);
    current_ = -1;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        selected_[i] = kept.contains(names_[i]);
        if (!currentName.empty() && names_[i] == currentName) {
            current_ = static_cast<int>(i);
        }
    }
    itemsChanged.emit();
}

void FileList::setSelected(int index, bool selected) {
    const auto i = static_cast<std::size_t>(index);
    if (selected_.at(i) != selected) {
        selected_[i] = selected;
        selectionChanged.emit(index);
    }
}

void FileList::setListIndex(int index) {
    current_ = (index >= 0 && index < ListCount()) ? index : -1;
}

std::string FileList::FileName() const {
    return current_ >= 0 ? names_[static_cast<std::size_t>(current_)] : std::string();
}

}  // namespace velmora
