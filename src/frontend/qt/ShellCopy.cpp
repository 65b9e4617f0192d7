#include "ShellCopy.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressDialog>

#include "MessageBox.h"
#include "platform/PlatformError.h"

namespace velmora::qt {
namespace {

// The bar counts in thousandths: an int can't hold the byte count of a large video.
constexpr int kSteps = 1000;
// Thumbnails copy in a blink; only a copy that takes longer than this shows the window.
constexpr int kShowAfterMs = 300;
// Windows' ERROR_GEN_FAILURE: the shell's code when a copy fails for a reason of the system.
constexpr int kCopyFailed = 31;

int stepOf(std::uint64_t copied, std::uint64_t total) {
    return total == 0 ? kSteps : static_cast<int>(copied * kSteps / total);
}

}  // namespace

ShellCopyResult copyWithProgress(const FileOperations& files, const std::string& from,
                                 const std::string& to, QWidget* owner) {
    const QString name = QFileInfo(QString::fromStdString(from)).fileName();
    FileOperations::CopyOutcome outcome{};
    try {
        QProgressDialog progress(QStringLiteral("Copying %1").arg(name), QStringLiteral("Cancel"),
                                 0, kSteps, owner);
        progress.setWindowTitle(QStringLiteral("Copying"));
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setMinimumDuration(kShowAfterMs);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setValue(0);
        outcome = files.copyFile(from, to, [&progress](std::uint64_t copied, std::uint64_t total) {
            progress.setValue(stepOf(copied, total));
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    } catch (const PlatformError& failure) {
        showMessageBox(owner,
                       "Can't copy \"" + name.toStdString() + "\".\r\n\r\n" + failure.reason(),
                       mb::kOk | mb::kIconError, std::nullopt);
        return {kCopyFailed, false};
    }
    if (outcome == FileOperations::CopyOutcome::Cancelled) {
        return {0, true};
    }
    return {0, false};
}

}  // namespace velmora::qt
