#include "StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace velmora::bench {

StartupProbe::StartupProbe(QObject* window) : QObject(window) {
    window->installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !reported_) {
        reported_ = true;
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("shown_at_ns=%lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        // Let this first paint reach the screen before the program ends.
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace velmora::bench
