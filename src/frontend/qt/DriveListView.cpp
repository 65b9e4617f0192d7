#include "DriveListView.h"

#include <QSignalBlocker>

namespace velmora::qt {

DriveListView::DriveListView(DriveList& model, RaiseEvent raise, QWidget* parent)
    : QComboBox(parent), drives_(model), raise_(std::move(raise)) {
    // activated comes only from the user: the mouse, the wheel or the arrow keys.
    connect(this, &QComboBox::activated, this, &DriveListView::takeUserPick);
    model.entriesChanged.connect([this] { showEntries(); });
    model.changed.connect([this] { setCurrentIndex(drives_.ListIndex()); });
    showEntries();
}

void DriveListView::showEntries() {
    const QSignalBlocker quiet(this);
    clear();
    for (const DriveEntry& entry : drives_.entries()) {
        addItem(QString::fromStdString(entry.text));
    }
    setCurrentIndex(drives_.ListIndex());
}

void DriveListView::takeUserPick(int index) {
    if (!drives_.pickRaisesChange(index)) {
        return;
    }
    drives_.setListIndex(index);
    raise_(EventKind::Change, 0);
}

}  // namespace velmora::qt
