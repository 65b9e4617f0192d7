#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace velmora::test {

// Acts on the next modal dialog of type T from inside its event loop, as a user would, as
// soon as it is shown. Gives up after a few seconds, so a dialog that never comes fails
// the test instead of touching a later one.
template <typename T>
void onNextModal(std::function<void(T&)> act) {
    constexpr int kTickMs = 5;
    constexpr int kGiveUpTicks = 1000;
    auto* timer = new QTimer;
    timer->setInterval(kTickMs);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act), ticks = 0]() mutable {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr && ++ticks < kGiveUpTicks) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (dialog != nullptr) {
            act(*dialog);
        }
    });
    timer->start();
}

}  // namespace velmora::test
