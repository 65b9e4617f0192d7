#include "AppIcon.h"

namespace velmora::qt {

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/velmora/icons/velmora-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace velmora::qt
