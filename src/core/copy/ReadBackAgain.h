#pragma once

#include <vector>

#include "copy/CopyItem.h"

namespace velmora {

class MainForm;

// Cards that wrap around write what lies past their real size over their start: a video that
// read back when it was copied may be lost to one copied after it. So once a run's last video
// is done, each item the run counted is read back again. Those the stick no longer gives back
// are taken off it where it still lets them be, selected again, and named to the user in one
// message; the PSP list then shows what is left. True when every item still reads back, or
// when the stick is no longer the one picked, which the run has dealt with.
bool readBackAgain(MainForm& form, const std::vector<CopiedItem>& copied);

}  // namespace velmora
