#include "FileListView.h"

#include <QScopedValueRollback>

#include "FileListModel.h"

namespace velmora::qt {

FileListView::FileListView(FileList& model, RaiseEvent raise, QWidget* parent)
    : QListView(parent),
      list_(model),
      raise_(std::move(raise)),
      names_(new FileListModel(model, this)) {
    setModel(names_);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // All rows are one line of text: lets the view lay out thousands of names without
    // measuring each.
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileListView::takeUserSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FileListView::takeUserCurrent);
    model.itemsChanged.connect([this] { showNames(); });
    model.selectionChanged.connect([this](int row) { showSelected(row); });
    showNames();
}

void FileListView::showNames() {
    QScopedValueRollback guard(syncing_, true);
    names_->reload();
    // One range per run of selected rows: selecting thousands of rows one by one is slow.
    QItemSelection selection;
    const int count = list_.ListCount();
    for (int first = 0; first < count; ++first) {
        if (!list_.Selected(first)) {
            continue;
        }
        int last = first;
        while (last + 1 < count && list_.Selected(last + 1)) {
            ++last;
        }
        selection.select(names_->index(first), names_->index(last));
        first = last;
    }
    selectionModel()->select(selection, QItemSelectionModel::Select);
    if (list_.ListIndex() >= 0) {
        selectionModel()->setCurrentIndex(names_->index(list_.ListIndex()),
                                          QItemSelectionModel::NoUpdate);
    }
}

void FileListView::showSelected(int row) {
    if (syncing_) {
        return;
    }
    QScopedValueRollback guard(syncing_, true);
    selectionModel()->select(names_->index(row), list_.Selected(row)
                                                     ? QItemSelectionModel::Select
                                                     : QItemSelectionModel::Deselect);
}

void FileListView::takeUserSelection(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
    if (syncing_) {
        return;
    }
    {
        QScopedValueRollback guard(syncing_, true);
        for (const QModelIndex& index : deselected.indexes()) {
            list_.setSelected(index.row(), false);
        }
        for (const QModelIndex& index : selected.indexes()) {
            list_.setSelected(index.row(), true);
        }
        // The current row moves before the selection is announced.
        list_.setListIndex(selectionModel()->currentIndex().row());
    }
    raise_(EventKind::Click, 0);
}

void FileListView::takeUserCurrent(const QModelIndex& current, const QModelIndex& previous) {
    // Qt puts the focus frame on the first name when an untouched list gets the focus; the
    // list still has no current name then, so Backspace asks nothing until the user picks.
    const bool focusOnly = !previous.isValid() && !selectionModel()->hasSelection();
    if (!syncing_ && !focusOnly) {
        list_.setListIndex(current.row());
    }
}

}  // namespace velmora::qt
