#include "FileListModel.h"

namespace velmora::qt {

FileListModel::FileListModel(const FileList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list) {}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.ListCount();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= list_.ListCount()) {
        return {};
    }
    return QString::fromStdString(list_.List(index.row()));
}

void FileListModel::reload() {
    beginResetModel();
    endResetModel();
}

}  // namespace velmora::qt
