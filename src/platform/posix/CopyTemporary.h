#pragma once

#include <string>

#include "posix/UniqueFd.h"

namespace velmora::posix {

// The file a copy grows in, in the destination's folder, until it is whole and takes the
// destination's name. Its name is hidden and made only for this (see CopyNames.h), and it is
// locked while it is written, so that no other file is taken for one and a running copy's is
// never taken for a leftover. It is made, renamed and removed through the open folder: once that
// folder is detached (a stick unmounted lazily), nothing lands on the empty mount point and
// nothing is left on the stick. Failures throw CopyFailure.
class CopyTemporary {
  public:
    explicit CopyTemporary(int folder);
    // Removes the file, whatever its name by then, unless kept.
    ~CopyTemporary();
    CopyTemporary(const CopyTemporary&) = delete;
    CopyTemporary& operator=(const CopyTemporary&) = delete;

    int fd() const { return file_.get(); }
    // Gives the file the destination's name, only if no file has that name yet; a name found
    // taken fails with nameTaken set. Where the file system can't rename without replacing
    // (FUSE drivers, some network file systems), an empty file first claims the name, made only
    // where none is, and the rename replaces it: a cut in between can leave that empty file.
    void takeName(const std::string& name);
    // Removes the file now, whatever its name by then; false where it stays (the drive refused,
    // or is gone).
    bool remove();
    // Keeps the file under the name it has and closes it. Only once it is on the device: a
    // late error of the close itself can no longer take the data back.
    void keep();

  private:
    void replaceClaim(const std::string& name);

    int folder_;
    std::string name_;
    UniqueFd file_;
};

}  // namespace velmora::posix
