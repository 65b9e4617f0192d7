#pragma once

#include <QIcon>

namespace velmora::qt {

// The clapperboard with the handheld console, in the sizes drawn for the desktop.
QIcon applicationIcon();

}  // namespace velmora::qt
