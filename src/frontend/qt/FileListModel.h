#pragma once

#include <QAbstractListModel>

#include "controls/FileList.h"

namespace velmora::qt {

// The names of a file list, read straight from the control model without a copy, so a
// folder of thousands of videos shows at once.
class FileListModel : public QAbstractListModel {
  public:
    FileListModel(const FileList& list, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The control model read its folder anew.
    void reload();

  private:
    const FileList& list_;
};

}  // namespace velmora::qt
