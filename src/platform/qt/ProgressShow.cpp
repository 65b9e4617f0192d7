#include "ProgressShow.h"

#include <QEventLoop>
#include <QTimer>
#include <optional>

namespace velmora::qt {
namespace {

// The bar counts in thousandths: an int can't hold the byte count of a large video.
constexpr int kSteps = 1000;
// Work that ends sooner shows no window: one for each of many small videos would cost more
// than their copy. Slow work shows its window well within half a second.
constexpr int kShowAfterMs = 200;
// How often the window looks how far the work got.
constexpr int kLookEveryMs = 50;

}  // namespace

ProgressShow::ProgressShow(const QString& title, const QString& text, QWidget* owner)
    : window_(text, QStringLiteral("Cancel"), 0, kSteps, owner) {
    window_.setWindowTitle(title);
    window_.setWindowModality(Qt::ApplicationModal);
    window_.setAutoClose(false);
    window_.setAutoReset(false);
    window_.setMinimumDuration(kShowAfterMs);
    window_.setValue(0);
}

bool ProgressShow::untilEnded(DriveCalls::Running& work, CopyProgress& progress, const Look& look) {
    QEventLoop loop;
    QTimer looks;
    std::optional<AnsweringWait::Clock::time_point> giveUpAt;
    QObject::connect(&window_, &QProgressDialog::canceled, [&] {
        if (!giveUpAt) {
            progress.cancelled = true;
            giveUpAt = AnsweringWait::Clock::now() + answer_within::kAfterCancel;
        }
    });
    QObject::connect(&looks, &QTimer::timeout, [&] {
        if (work.finished() || (giveUpAt && AnsweringWait::Clock::now() >= *giveUpAt)) {
            loop.quit();
        } else if (!progress.cancelled) {
            look(window_, progress);
        }
    });
    looks.start(kLookEveryMs);
    work.whenFinished(
        [&loop] { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); });
    if (!work.finished()) {
        loop.exec();
    }
    work.whenFinished({});
    return work.finished();
}

void showCountedPart(QProgressDialog& window, const CopyProgress& progress) {
    const std::uint64_t total = progress.total;
    window.setValue(total == 0 ? 0 : static_cast<int>(progress.copied * kSteps / total));
}

}  // namespace velmora::qt
