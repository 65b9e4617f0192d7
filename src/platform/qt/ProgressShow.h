#pragma once

#include <QProgressDialog>
#include <functional>

#include "CopyProgress.h"
#include "DriveCalls.h"

namespace velmora::qt {

// Shows work under way on a drive's thread in an application-modal progress window with a bar
// in thousandths and Cancel (Escape too), until the work has ended, or until it
// has gone on for answer_within::kAfterCancel after the user cancelled. The window shows unless
// the work ends within 200 ms. look, when given, sets the window's text and bar from the
// progress each time the window looks (every 50 ms). True when the work ended.
class ProgressShow {
  public:
    using Look = std::function<void(QProgressDialog& window, const CopyProgress& progress)>;

    ProgressShow(const QString& title, const QString& text, QWidget* owner);

    bool untilEnded(DriveCalls::Running& work, CopyProgress& progress, const Look& look);
    QProgressDialog& window() { return window_; }
    void close() { window_.close(); }

  private:
    QProgressDialog window_;
};

// For work that counts what it did of all: the bar says how much.
void showCountedPart(QProgressDialog& window, const CopyProgress& progress);

}  // namespace velmora::qt
