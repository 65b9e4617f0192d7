#pragma once

#include "Session.h"

namespace velmora::uitest {

// The window right after start-up, in a working folder holding one video, start.mp4: its
// frame, every control's kind, place, size and text against the layout table, the lists on
// the working folder, the focus, the credit's pointer, the tool tips, and the folder browser
// opened and cancelled.
void checkWindowAtStart(Session& session);

}  // namespace velmora::uitest
