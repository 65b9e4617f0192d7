#pragma once

#include "Session.h"
#include "TestData.h"

namespace velmora::uitest {

// A copy that runs out of room: two videos that count 1 MB each pass the space test on a
// stick with 3 MB free, and the second doesn't fit. The first stays on the stick and is
// deselected; the second leaves nothing behind and stays selected; any message the copy
// shows is answered.
void copyOntoFullStick(Session& session, const TestFolders& folders, const Stick& stick);

}  // namespace velmora::uitest
