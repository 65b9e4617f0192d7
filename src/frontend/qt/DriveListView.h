#pragma once

#include <QComboBox>

#include "RaiseEvent.h"
#include "controls/DriveList.h"

namespace velmora::qt {

// A drop-down list of the drives. A drive the user picks, with the mouse or by stepping
// through the closed list with the arrow keys, becomes the model's current drive and
// raises the control's Change, as does picking the entry shown while its video folder is not
// shown; changes made by the handlers show without raising it.
class DriveListView : public QComboBox {
  public:
    DriveListView(DriveList& model, RaiseEvent raise, QWidget* parent);

  private:
    void showEntries();
    void takeUserPick(int index);

    DriveList& drives_;
    RaiseEvent raise_;
};

}  // namespace velmora::qt
