#include "psp/FreeSpace.h"

#include "platform/Platform.h"
#include "summary/Megabytes.h"

namespace velmora {

std::string freeSpaceFigure(Platform& platform, const std::string& root) {
    return megabyteFigure(wholeMegabytes(platform.freeBytesAvailable(root)));
}

}  // namespace velmora
