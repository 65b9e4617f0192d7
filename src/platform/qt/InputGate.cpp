#include "InputGate.h"

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace velmora::qt {
namespace {

// A gate that is closed, and opened again, from within nested event loops looks again this
// often whether the loop it was closed in runs again.
constexpr int kLookAgainMs = 20;

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
        case QEvent::InputMethod:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

// Input for the modal dialog that is up passes; any other is dropped.
bool forTheModalDialog(QObject* receiver) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        return false;
    }
    // A shortcut (the progress window's Escape) is an object of its widget's.
    for (const QObject* object = receiver; object != nullptr; object = object->parent()) {
        if (const auto* widget = qobject_cast<const QWidget*>(object)) {
            return widget->window() == modal;
        }
    }
    return receiver == modal->windowHandle();
}

int loopLevel() {
    return static_cast<int>(QThread::currentThread()->loopLevel());
}

class Gate : public QObject {
  public:
    void close() {
        if (depth_++ == 0 && !installed_) {
            QApplication::instance()->installEventFilter(this);
            installed_ = true;
            closedAtLevel_ = loopLevel();
        }
    }
    void release() {
        --depth_;
        QTimer::singleShot(0, this, [this] { reopenWhenIdle(); });
    }

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        return isUserInput(event->type()) && !forTheModalDialog(receiver);
    }

  private:
    void reopenWhenIdle() {
        if (depth_ > 0 || !installed_) {
            return;
        }
        if (loopLevel() > closedAtLevel_) {
            QTimer::singleShot(kLookAgainMs, this, [this] { reopenWhenIdle(); });
            return;
        }
        QApplication::processEvents();  // what came in while the thread was busy is dropped
        if (depth_ == 0) {
            QApplication::instance()->removeEventFilter(this);
            installed_ = false;
        }
    }

    int depth_ = 0;
    bool installed_ = false;
    int closedAtLevel_ = 0;
};

Gate& gate() {
    static Gate* const instance = new Gate;  // lives as long as the program
    return *instance;
}

// Refuses the closing of every window but the modal dialog's.
class CloseRefusal : public QObject {
  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        return event->type() == QEvent::Close && !forTheModalDialog(receiver);
    }
};

}  // namespace

ClosedToInput::ClosedToInput() {
    gate().close();
}

ClosedToInput::~ClosedToInput() {
    gate().release();
}

NoClosing::NoClosing() : refusal_(std::make_unique<CloseRefusal>()) {
    QApplication::instance()->installEventFilter(refusal_.get());
}

NoClosing::~NoClosing() {
    QApplication::instance()->removeEventFilter(refusal_.get());
}

}  // namespace velmora::qt
