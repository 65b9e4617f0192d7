#include "ShellCopy.h"

#include <QFileInfo>
#include <exception>

#include "CopyStepText.h"
#include "InputGate.h"
#include "MessageBox.h"
#include "ProgressShow.h"
#include "platform/PlatformError.h"

namespace velmora::qt {
namespace {

// Windows' ERROR_GEN_FAILURE: the shell's code when a copy fails for a reason of the system.
constexpr int kCopyFailed = 31;

// What the copy tells the window, and the window's Cancel. Shared, since a copy that stops
// answering is left behind and may end long after the window has moved on.
struct CopyState {
    CopyProgress progress;
    FileOperations::CopyOutcome outcome{};
};

std::shared_ptr<DriveCalls::Running> startCopy(OffWindowFiles& files, const std::string& from,
                                               const std::string& to,
                                               const std::shared_ptr<CopyState>& state) {
    return files.calls().start(to, [files = files.files(), from, to, state] {
        state->outcome = files.copyFile(from, to, [&state](auto copied, auto total) {
            return state->progress.report(copied, total);
        });
    });
}

// The video's name, then how far the run is; the bar covers the whole run where its size is
// known, so that it never starts again at each video.
ProgressShow::Look lookOfCopy(const QString& name, const CopyStep& step) {
    const auto started = std::chrono::steady_clock::now();
    return [name, step, started](QProgressDialog& window, const CopyProgress& progress) {
        const std::uint64_t copied = progress.copied;
        window.setLabelText(
            QStringLiteral("Copying %1\n%2")
                .arg(name, QString::fromStdString(copyStepText(
                               step, copied, std::chrono::steady_clock::now() - started))));
        window.setValue(runThousandths(step, copied, progress.total));
    };
}

void showFailure(QWidget* owner, const QString& name, const std::string& reason) {
    showMessageBox(owner, "Can't copy \"" + name.toStdString() + "\".\r\n\r\n" + reason,
                   mb::kOk | mb::kIconError, std::nullopt);
}

}  // namespace

ShellCopyResult copyWithProgress(OffWindowFiles& files, const std::string& from,
                                 const std::string& to, const CopyStep& step, QWidget* owner) {
    const ClosedToInput closed;
    const QString name = QFileInfo(QString::fromStdString(from)).fileName();
    auto state = std::make_shared<CopyState>();
    const std::shared_ptr<DriveCalls::Running> copy = startCopy(files, from, to, state);
    {
        const ProgressShow::Look look = lookOfCopy(name, step);
        ProgressShow progress(QStringLiteral("Copying"), QString(), owner);
        look(progress.window(), state->progress);
        if (!progress.untilEnded(*copy, state->progress, look) && copy->abandon()) {
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

bool showWithProgress(DriveCalls::Running& work, CopyProgress& progress, const std::string& text,
                      QWidget* owner) {
    const ClosedToInput closed;
    ProgressShow show(QStringLiteral("Copying"), QString::fromStdString(text), owner);
    return show.untilEnded(work, progress, showCountedPart);
}

}  // namespace velmora::qt
