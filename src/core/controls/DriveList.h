#pragma once

#include <optional>
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
    // it has gone, no drive is current, so that picking any entry raises Change.
    void Refresh();
    // No drive current, nothing picked.
    void clearCurrent();

    const std::vector<DriveEntry>& entries() const { return entries_; }
    int ListIndex() const { return current_; }
    // Whether the user's pick of entry index is to raise Change: one of another entry, and one
    // of the current entry while no video folder of it is shown (its pick failed, it stopped
    // answering, the user declined to make one), so that picking the drive again tries again.
    bool pickRaisesChange(int index) const {
        return index >= 0 && index < static_cast<int>(entries_.size()) &&
               (index != current_ || !pickedVolume_);
    }
    // The view calls this when the user picks an entry, then raises the Change event.
    void setListIndex(int index);
    // Makes the drive that holds path current: the one with the longest root it starts with.
    void selectDriveHolding(const std::string& path);

    // The volume the current drive had when the user picked it and its video folder was found
    // or made there; nothing before that, once another entry is current, and once it has gone.
    std::optional<VolumeId> pickedVolume() const { return pickedVolume_; }
    void setPickedVolume(std::optional<VolumeId> volume) { pickedVolume_ = volume; }

    // Raised when the entries were read anew.
    Signal<> entriesChanged;

  private:
    Platform& platform_;
    std::vector<DriveEntry> entries_;
    int current_ = -1;
    std::optional<VolumeId> pickedVolume_;
};

}  // namespace velmora
