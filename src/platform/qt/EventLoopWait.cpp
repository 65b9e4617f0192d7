#include "EventLoopWait.h"

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

// Keys that reach the waiting window in its first moments were meant for what the user saw
// before it: they waited in the queue while the handler ran, and go to whatever window has
// the focus once they are taken, so an Enter or Escape typed ahead must not cancel the wait.
// Nobody reacts to a new window sooner. (Clicks queued meanwhile belong to the window they
// were made in, so none reaches it.)
class TypedAheadIgnored : public QObject {
  public:
    // Owned by the window, and gone with it.
    explicit TypedAheadIgnored(QWidget& window) : QObject(&window), window_(window) {
        QApplication::instance()->installEventFilter(this);
    }
    bool eventFilter(QObject* target, QEvent* event) override {
        if (!isKey(event->type()) ||
            AnsweringWait::Clock::now() - shown_ >= std::chrono::milliseconds(300)) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(target);
        return widget != nullptr && (widget == &window_ || window_.isAncestorOf(widget));
    }

  private:
    static bool isKey(QEvent::Type type) {
        return type == QEvent::KeyPress || type == QEvent::KeyRelease ||
               type == QEvent::ShortcutOverride;
    }

    QWidget& window_;
    const AnsweringWait::Clock::time_point shown_ = AnsweringWait::Clock::now();
};

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
    window->show();
    new TypedAheadIgnored(*window);
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
