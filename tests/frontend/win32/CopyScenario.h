#pragma once

#include <string>

#include "Session.h"
#include "TestData.h"

namespace velmora::uitest {

// The user's road of one copy: types the source folder, selects two videos, picks the
// stand-in stick and lets the program make its video folder, copies, then selects one video
// on the stick and deletes it with Backspace. The stick is checked byte for byte.
// With a hold file, the scenario stops before the deletion for a screenshot: it writes
// HOLD.ready with the window's place on the screen and waits until HOLD exists.
void copyToStick(Session& session, const TestFolders& folders, const Stick& stick,
                 const std::wstring& holdFile);

}  // namespace velmora::uitest
