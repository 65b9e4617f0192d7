#pragma once

#include <string>
#include <vector>

#include "controls/Control.h"
#include "platform/Platform.h"

namespace velmora {

// A drop-down list of the machine's drives with one current entry.
class DriveList : public Control {
  public:
    DriveList(ControlDescription description, Platform& platform);

    // The current entry's text; empty when the machine shows no drive.
    std::string Drive() const;
    // The current drive's root, ending in the path separator.
    std::string Root() const;
    // Re-reads the drives. The current drive stays current while it is still there; when
    // it has gone, the first drive becomes current, without a Change event.
    void Refresh();

    const std::vector<DriveEntry>& entries() const { return entries_; }
    int ListIndex() const { return current_; }
    // The view calls this when the user picks an entry, then raises the Change event.
    void setListIndex(int index);
    // Makes the drive that holds path current: the one with the longest root it starts with.
    void selectDriveHolding(const std::string& path);

    // Raised when the entries were read anew.
    Signal<> entriesChanged;

  private:
    Platform& platform_;
    std::vector<DriveEntry> entries_;
    int current_ = -1;
};

}  // namespace velmora
