#pragma once

namespace velmora::posix {

// Removes from the open folder what copies cut short (a crash, a kill, a power cut) left there
// and nothing holds any more: temporaries that no running copy locks, and earlier versions'
// temporaries that nothing has written to for a minute. Whatever can't be removed stays,
// without a word.
void removeLeftovers(int folder);

}  // namespace velmora::posix
