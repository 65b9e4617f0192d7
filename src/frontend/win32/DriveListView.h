#pragma once

#include "ControlView.h"
#include "controls/DriveList.h"

namespace velmora::win32 {

// A drop-down list of the drives. Picking an entry makes it the model's current drive and
// raises the Change event: at once when the list is closed (the arrow keys step through it),
// when the user confirms an entry of the open list, and never for an entry only passed over.
// The entry shown, confirmed again while its video folder is not shown, raises Change too.
// A pick while a handler runs is undone.
class DriveListView : public ControlView {
  public:
    DriveListView(MainForm& form, DriveList& model, HWND parent);

    void command(WORD code) override;
    void place(const RECT& pixels, HFONT font) override;

  private:
    void renderEntries();
    void renderCurrent();
    void takePick(bool confirmed);

    DriveList& drives_;
};

}  // namespace velmora::win32
