#include "ShellCopy.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <atomic>
#include <exception>
#include <thread>

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
// Windows' ERROR_GEN_FAILURE: the shell's code when a copy fails for a reason of the system.
constexpr int kCopyFailed = 31;

int stepOf(std::uint64_t copied, std::uint64_t total) {
    return total == 0 ? kSteps : static_cast<int>(copied * kSteps / total);
}

// The copy on a thread of its own, so that the window keeps repainting and Cancel answers
// while a slow stick takes its time; the caller's event loop runs until it is done.
class CopyThread {
  public:
    CopyThread(const FileOperations& files, const std::string& from, const std::string& to,
               QProgressDialog& progress)
        : thread_([this, &files, from, to, &progress] {
              try {
                  outcome_ = files.copyFile(from, to, [this, &progress](auto copied, auto total) {
                      QMetaObject::invokeMethod(
                          &progress,
                          [&progress, step = stepOf(copied, total)] {
                              // A report that was on its way when the user cancelled would show
                              // the window again.
                              if (!progress.wasCanceled()) {
                                  progress.setValue(step);
                              }
                          },
                          Qt::QueuedConnection);
                      return !cancelled_;
                  });
              } catch (...) {
                  failure_ = std::current_exception();
              }
              QMetaObject::invokeMethod(&done_, &QEventLoop::quit, Qt::QueuedConnection);
          }) {
        QObject::connect(&progress, &QProgressDialog::canceled, [this] { cancelled_ = true; });
    }

    // Runs the event loop until the copy has ended; gives its outcome or throws its failure.
    FileOperations::CopyOutcome wait() {
        done_.exec();
        thread_.join();
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return outcome_;
    }

  private:
    QEventLoop done_;
    std::atomic<bool> cancelled_ = false;
    FileOperations::CopyOutcome outcome_{};
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once the rest is there
};

}  // namespace

ShellCopyResult copyWithProgress(const FileOperations& files, const std::string& from,
                                 const std::string& to, QWidget* owner) {
    const ClosedToInput closed;
    const QString name = QFileInfo(QString::fromStdString(from)).fileName();
    FileOperations::CopyOutcome outcome{};
    try {
        QProgressDialog progress(QStringLiteral("Copying %1").arg(name), QStringLiteral("Cancel"),
                                 0, kSteps, owner);
        progress.setWindowTitle(QStringLiteral("Copying"));
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setMinimumDuration(kShowAfterMs);
        progress.setValue(0);
        CopyThread copy(files, from, to, progress);
        outcome = copy.wait();
    } catch (const PlatformError& failure) {
        showMessageBox(owner,
                       "Can't copy \"" + name.toStdString() + "\".\r\n\r\n" + failure.reason(),
                       mb::kOk | mb::kIconError, std::nullopt);
        return {kCopyFailed, false};
    }
    return {0, outcome == FileOperations::CopyOutcome::Cancelled};
}

}  // namespace velmora::qt
