#include "KeyPressForwarder.h"

#include <QKeyEvent>

#include "KeyCodes.h"

namespace velmora::qt {

KeyPressForwarder::KeyPressForwarder(RaiseEvent raise, QObject* watched)
    : QObject(watched), raise_(std::move(raise)) {
    watched->installEventFilter(this);
}

bool KeyPressForwarder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        if (const auto code = characterCode(*static_cast<QKeyEvent*>(event))) {
            raise_(EventKind::KeyPress, *code);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace velmora::qt
