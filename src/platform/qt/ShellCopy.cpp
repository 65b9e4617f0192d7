#include "ShellCopy.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <exception>

#include "InputGate.h"
#include "MessageBox.h"
#include "platform/PlatformError.h"

namespace velmora::qt {
namespace {

// The bar counts in thousandths: an int can't hold the byte count of a large video.
constexpr int kSteps = 1000;
// A copy that ends sooner shows no window: one for each of many small videos would cost more
// than their copy. A slow one shows its window well within half a second.
constexpr int kShowAfterMs = 200;
// How often the window looks how far the copy got.
constexpr int kLookEveryMs = 50;
// Windows' ERROR_GEN_FAILURE: the shell's code when a copy fails for a reason of the system.
constexpr int kCopyFailed = 31;

// What the copy tells the window, and the window's Cancel. Shared, since a copy that stops
// answering is left behind and may end long after the window has moved on.
struct CopyState {
    std::atomic<std::uint64_t> copied = 0;
    std::atomic<std::uint64_t> total = 0;
    std::atomic<bool> cancelled = false;
    FileOperations::CopyOutcome outcome{};
};

int stepOf(std::uint64_t copied, std::uint64_t total) {
    return total == 0 ? 0 : static_cast<int>(copied * kSteps / total);
}

std::shared_ptr<DriveCalls::Running> startCopy(OffWindowFiles& files, const std::string& from,
                                               const std::string& to,
                                               const std::shared_ptr<CopyState>& state) {
    return files.calls().start(to, [files = files.files(), from, to, state] {
        state->outcome = files.copyFile(from, to, [&state](auto copied, auto total) {
            state->total = total;
            state->copied = copied;
            return !state->cancelled;
        });
    });
}

// Runs the event loop, showing the copy's progress, until it has ended, or until it has gone
// on for as long as a drive may keep a lookup waiting after the user cancelled. True when
// it ended.
bool showUntilEnded(DriveCalls::Running& copy, CopyState& state, QProgressDialog& progress) {
    QEventLoop loop;
    QTimer look;
    std::optional<AnsweringWait::Clock::time_point> giveUpAt;
    QObject::connect(&progress, &QProgressDialog::canceled, [&] {
        state.cancelled = true;
        giveUpAt = AnsweringWait::Clock::now() + answer_within::kAfterCancel;
    });
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (copy.finished() || (giveUpAt && AnsweringWait::Clock::now() >= *giveUpAt)) {
            loop.quit();
        } else if (!state.cancelled) {
            progress.setValue(stepOf(state.copied, state.total));
        }
    });
    look.start(kLookEveryMs);
    copy.whenFinished(
        [&loop] { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); });
    loop.exec();
    copy.whenFinished({});
    return copy.finished();
}

void showFailure(QWidget* owner, const QString& name, const std::string& reason) {
    showMessageBox(owner, "Can't copy \"" + name.toStdString() + "\".\r\n\r\n" + reason,
                   mb::kOk | mb::kIconError, std::nullopt);
}

}  // namespace

ShellCopyResult copyWithProgress(OffWindowFiles& files, const std::string& from,
                                 const std::string& to, QWidget* owner) {
    const ClosedToInput closed;
    const QString name = QFileInfo(QString::fromStdString(from)).fileName();
    auto state = std::make_shared<CopyState>();
    const std::shared_ptr<DriveCalls::Running> copy = startCopy(files, from, to, state);
    {
        QProgressDialog progress(QStringLiteral("Copying %1").arg(name), QStringLiteral("Cancel"),
                                 0, kSteps, owner);
        progress.setWindowTitle(QStringLiteral("Copying"));
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setMinimumDuration(kShowAfterMs);
        progress.setValue(0);
        if (!copy->finished() && !showUntilEnded(*copy, *state, progress) && copy->abandon()) {
            progress.close();
            showFailure(owner, name, copyLeftBehindReason(*copy, name.toStdString()));
            return {kCopyFailed, false, false, copy->waitedOnDrive()};
        }
    }
    try {
        copy->rethrowFailure();
    } catch (const NameTaken&) {
        return {kCopyFailed, false, true};
    } catch (const PlatformError& failure) {
        showFailure(owner, name, failure.reason());
        return {kCopyFailed, false};
    }
    return {0, state->outcome == FileOperations::CopyOutcome::Cancelled};
}

}  // namespace velmora::qt
