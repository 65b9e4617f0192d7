#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace velmora::test {

// Acts on the next modal dialog of type T from inside its event loop, as a user would. Gives up
// after five seconds, so a dialog that never comes fails the test instead of touching a later one.
template <typename T>
void onNextModal(std::function<void(T&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act), ticks = 0]() mutable {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr && ++ticks < 1000) {
            return;
        }
        timer->deleteLater();
        timer->stop();
        if (dialog != nullptr) {
            act(*dialog);
        }
    });
    timer->start();
}

}  // namespace velmora::test
