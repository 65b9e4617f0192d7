#include "MountWatcher.h"

#include <fcntl.h>

#include <QSocketNotifier>
#include <chrono>

namespace velmora::qt {
namespace {

// Long enough for the mounts of one plugged-in device to arrive together, short enough that
// the stick shows at once to the user.
constexpr std::chrono::milliseconds kSettle{150};

}  // namespace

MountWatcher::MountWatcher(std::function<void()> changed, QObject* parent)
    : QObject(parent), mountTable_(open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettle);
    connect(&settle_, &QTimer::timeout, this, std::move(changed));
    // Without the mount table (no /proc) the drive list still follows Ctrl-R.
    if (!mountTable_) {
        return;
    }
    // The kernel reports a change as a priority event, once: polling the file re-arms it.
    auto* notifier = new QSocketNotifier(mountTable_.get(), QSocketNotifier::Exception, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        if (!settle_.isActive()) {
            settle_.start();
        }
    });
}

}  // namespace velmora::qt
