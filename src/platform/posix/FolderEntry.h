#pragma once

#include <string>

namespace velmora::posix {

// Whether the folder's entry name is the open file: a sweep may have removed a file that a copy
// has just made and not yet locked, and a copy may rename its file after a sweep opened it.
// Failures throw CopyFailure.
bool namesFile(int folder, const std::string& name, int file);

// Locks the open file, waiting while another holds it; a running copy holds the files it makes,
// so that no sweep takes them. A file system without locks goes on without one, since no sweep
// can lock the file there either. Failures throw CopyFailure.
void lockOrWait(int file);

// Removes the folder's entry name if it is still the open file, and says nothing if it can't:
// the drive is then gone or failing, and nothing more can be removed from it.
void removeIfNamesFile(int folder, const std::string& name, int file) noexcept;

}  // namespace velmora::posix
