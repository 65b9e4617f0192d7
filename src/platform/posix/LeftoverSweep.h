#pragma once

#include <string>

namespace velmora::posix {

// Removes from the open folder what copies cut short (a crash, a kill, a power cut) left there
// and nothing holds any more: temporaries that no running copy locks, and, once a day has
// passed without a write to them, earlier versions' temporaries and the empty files that
// claimed a name for a rename. Only names of these exact shapes (see CopyNames.h) are taken.
// Whatever can't be removed stays, without a word.
void removeLeftovers(int folder);

// Removes the folder's entry name, opened as file, if it is a leftover: only once the file is
// locked here, as no running copy holds it, and the name still names it. A copy may have
// renamed it meanwhile, and then another file taken the name. Failures throw CopyFailure.
void removeOpenedLeftover(int folder, const std::string& name, int file);

}  // namespace velmora::posix
