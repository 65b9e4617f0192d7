#pragma once

#include <QtGlobal>

namespace velmora::bench {

// The benchmarks run the real Qt platform without a screen unless one is asked for.
inline void useOffscreenUnlessSet() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

}  // namespace velmora::bench
