#include "EventLoopWait.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "InputGate.h"

namespace velmora::qt {
namespace {

// How often the loop looks whether the work has finished.
constexpr auto kLookEvery = std::chrono::milliseconds(10);

}  // namespace

void EventLoopWait::answerUntil(const std::function<bool()>& finished, Clock::time_point deadline) {
    const NoClosing noClosing;
    for (auto now = Clock::now(); !finished() && now < deadline; now = Clock::now()) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
            std::min<Clock::duration>(deadline - now, kLookEvery));
        QEventLoop loop;
        QTimer::singleShot(wait, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop_ = &loop;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        loop_ = nullptr;
    }
}

void EventLoopWait::wake() {
    QMetaObject::invokeMethod(
        &ear_,
        [this] {
            if (loop_ != nullptr) {
                loop_->quit();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace velmora::qt
