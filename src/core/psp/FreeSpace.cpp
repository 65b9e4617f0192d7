#include "psp/FreeSpace.h"

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "summary/Megabytes.h"

namespace velmora {

std::string freeSpaceFigure(Platform& platform, const std::string& root) {
    // A figure left from another drive would let a copy start that can't fit; nothing
    // measured is nothing free, as Windows reports it too. Without a drive, Windows would
    // measure the working folder's.
    if (root.empty()) {
        return megabyteFigure(0);
    }
    try {
        return megabyteFigure(wholeMegabytes(platform.freeBytesAvailable(root)));
    } catch (const PlatformError&) {
        return megabyteFigure(0);
    }
}

}  // namespace velmora
