#include "EventLoopWait.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>
#include <memory>

#include "InputGate.h"
#include "app/MainForm.h"

namespace velmora::qt {
namespace {

// How often the loop looks whether the work has finished.
constexpr auto kLookEvery = std::chrono::milliseconds(10);

// The busy pointer while the window's thread waits; over the waiting window, one that still
// says it can be clicked.
class BusyPointer {
  public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    static void overAWindow() { QApplication::changeOverrideCursor(Qt::BusyCursor); }
};

// Keys typed while the handler ran wait in the queue and go to whatever window has the focus
// once they are taken: an Enter or Escape typed ahead must not cancel the wait. So Cancel
// takes effect only a moment after the window shows, sooner than anyone reacts to it; until
// then it is disabled, which a screen reader and a test can see.
constexpr auto kCancelAfter = std::chrono::milliseconds(300);

// Names the drive and offers Cancel; closing it in any way sets gaveUp.
std::unique_ptr<QMessageBox> showWaitingWindow(const std::string& root, bool& gaveUp) {
    auto window = std::make_unique<QMessageBox>(QApplication::activeWindow());
    window->setWindowTitle(QString::fromUtf8(MainForm::kCaption.data(),
                                             static_cast<qsizetype>(MainForm::kCaption.size())));
    window->setTextFormat(Qt::PlainText);  // a mount point may hold '<' or '&'
    window->setText(QString::fromStdString(AnsweringWait::waitingText(root)));
    window->setStandardButtons(QMessageBox::Cancel);
    window->setWindowModality(Qt::ApplicationModal);
    QObject::connect(window.get(), &QMessageBox::finished, [&gaveUp] { gaveUp = true; });
    window->setDefaultButton(QMessageBox::Cancel);
    QAbstractButton* cancel = window->button(QMessageBox::Cancel);
    cancel->setEnabled(false);
    QTimer::singleShot(kCancelAfter, cancel, [cancel] {
        cancel->setEnabled(true);
        cancel->setFocus();  // which it could not take while disabled
    });
    window->show();
    BusyPointer::overAWindow();
    return window;
}

}  // namespace

bool EventLoopWait::answerUntil(const std::function<bool()>& over, const std::string& root) {
    const NoClosing noClosing;
    const BusyPointer busy;
    const auto since = Clock::now();
    bool gaveUp = false;
    std::unique_ptr<QMessageBox> waiting;
    while (!gaveUp && !over()) {
        if (!waiting && Clock::now() - since >= kShowWaitingAfter) {
            waiting = showWaitingWindow(root, gaveUp);
        }
        QEventLoop loop;
        QTimer::singleShot(kLookEvery, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop_ = &loop;
        loop.exec(waiting ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        loop_ = nullptr;
    }
    return !gaveUp;
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
