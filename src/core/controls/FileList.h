#pragma once

#include <string>
#include <vector>

#include "controls/Control.h"

namespace velmora {

class Platform;

// The names of one folder's files that match a pattern in any letter case, hidden and system
// files left out, sorted by name without regard to case; each with a selected flag, and a
// current position for the keyboard.
class FileList : public Control {
  public:
    FileList(ControlDescription description, Platform& platform, std::string pattern);

    const std::string& Path() const { return path_; }
    // Reads that folder; the selection is lost. Throws PlatformError when the folder can't
    // be read, and then keeps the former folder and contents.
    void setPath(std::string path);
    // Reads the folder again. Names still present keep their selected flag and the current
    // position when they had it.
    void Refresh();
    // Shows no folder and no names, until a folder is set again.
    void clear();

    int ListCount() const { return static_cast<int>(names_.size()); }
    const std::string& List(int index) const { return names_.at(static_cast<std::size_t>(index)); }
    bool Selected(int index) const { return selected_.at(static_cast<std::size_t>(index)); }
    void setSelected(int index, bool selected);
    // The current position, -1 when there is none.
    int ListIndex() const { return current_; }
    void setListIndex(int index);
    // The name at the current position; empty when there is none.
    std::string FileName() const;

    const std::string& pattern() const { return pattern_; }

    // Raised when the names were read anew (views rebuild their rows).
    Signal<> itemsChanged;
    // Raised when one selected flag changed from code or from the view.
    Signal<int> selectionChanged;

  private:
    std::vector<std::string> readNames(const std::string& folder) const;
    void replaceNames(std::vector<std::string> names, bool keepSelection);

    Platform& platform_;
    std::string pattern_;
    std::string path_;
    std::vector<std::string> names_;
    std::vector<bool> selected_;
    int current_ = -1;
};

}  // namespace velmora
