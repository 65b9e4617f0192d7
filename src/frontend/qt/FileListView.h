#pragma once

#include <QListView>

#include "RaiseEvent.h"
#include "controls/FileList.h"

namespace velmora::qt {

class FileListModel;

// A list of file names with extended selection. A selection the user makes is written to
// the control model and raises the control's Click once; selections and names that the
// handlers change show here without raising anything.
class FileListView : public QListView {
  public:
    FileListView(FileList& model, RaiseEvent raise, QWidget* parent);

  private:
    void showNames();
    void showSelected(int row);
    void takeUserSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void takeUserCurrent(const QModelIndex& current, const QModelIndex& previous);

    FileList& list_;
    RaiseEvent raise_;
    FileListModel* names_;
    // Set while this view writes to the model or the model is shown here, so neither side
    // echoes the other.
    bool syncing_ = false;
};

}  // namespace velmora::qt
