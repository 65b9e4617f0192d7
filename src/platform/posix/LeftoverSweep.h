#pragma once

namespace velmora::posix {

// Removes from the open folder what copies cut short (a crash, a kill, a power cut) left there
// and nothing holds any more: temporaries that no running copy locks, and, once a day has
// passed without a write to them, earlier versions' temporaries and the empty files that
// claimed a name for a rename. Only names of these exact shapes (see CopyNames.h) are taken.
// Whatever can't be removed stays, without a word.
void removeLeftovers(int folder);

}  // namespace velmora::posix
