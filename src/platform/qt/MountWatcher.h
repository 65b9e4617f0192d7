#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "posix/UniqueFd.h"

namespace velmora::qt {

// Tells when a file system is mounted or unmounted in the program's view of the machine,
// without polling: the kernel marks the mount table as changed. A burst of changes, such as
// a stick with several partitions, is told once, a moment after its first change.
class MountWatcher : public QObject {
  public:
    MountWatcher(std::function<void()> changed, QObject* parent);

  private:
    posix::UniqueFd mountTable_;
    QTimer settle_;
};

}  // namespace velmora::qt
