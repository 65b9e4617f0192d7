#pragma once

#include <windows.h>

#include <string>

#include "win32/files/FileHandle.h"

namespace velmora::win32 {

// The entries of a folder whose names match a pattern, read one at a time. Each read asks the
// drive about that one entry only, so a slow drive answers between any two, as its silence
// limit expects: a read of many entries at once can outlast that limit where each entry is a
// request of its own to the drive, as on a share or a FUSE stick under Wine.
class FolderEntries {
  public:
    // pattern: a full path as the wide file calls take it, whose last part may hold * and ?.
    explicit FolderEntries(const std::wstring& pattern);

    // The next entry, with the fields a folder's listing gives ("." and ".." among them).
    // False at the end, where GetLastError() is ERROR_NO_MORE_FILES, or on a failure, the
    // folder's opening included, where GetLastError() says why.
    bool next(WIN32_FIND_DATAW& entry);

  private:
    FileHandle folder_;
    DWORD openError_;
    std::wstring mask_;
    bool first_ = true;
};

}  // namespace velmora::win32
