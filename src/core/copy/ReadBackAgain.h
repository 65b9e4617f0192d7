#pragma once

#include <vector>

#include "copy/CopyItem.h"

namespace velmora {

class MainForm;

// Cards that wrap around write what lies past their real size over their start: a video that
// read back when it was copied may be lost to one copied after it. So once a run's last video
// is done, each item the run counted is read back again, in the copy's progress window. Only an
// item whose copy gives other bytes back is lost: it is taken off the stick where the stick
// still lets it go, selected again, and named to the user in one message; the PSP list then
// shows what is left. A check cut short (the user's Cancel, a stick pulled or silent) keeps
// every item not yet checked counted, since each was read back as it was copied; a stick that
// went is said once, and the PSP side goes with it. True when no item was lost and the stick
// is still there, or when the stick was no longer the one picked, which the run has dealt
// with.
bool readBackAgain(MainForm& form, const std::vector<CopiedItem>& copied);

}  // namespace velmora
