#pragma once

#include <string>

#include "posix/UniqueFd.h"

namespace velmora::posix {

// The file a copy grows in, in the destination's folder, until it is whole and takes the
// destination's name. Its name is hidden and made only for this (".velmora-copy-" and six
// letters or digits), and it is locked while it is written, so that no other file is taken
// for one and a running copy's is never taken for a leftover. It is made, renamed and removed
// through the open folder: once that folder is detached (a stick unmounted lazily), nothing
// lands on the empty mount point and nothing is left on the stick. Failures throw CopyFailure.
class CopyTemporary {
  public:
    explicit CopyTemporary(int folder);
    // Removes the file, whatever its name by then, unless kept.
    ~CopyTemporary();
    CopyTemporary(const CopyTemporary&) = delete;
    CopyTemporary& operator=(const CopyTemporary&) = delete;

    int fd() const { return file_.get(); }
    // Gives the file the destination's name, only if no file has that name yet; a name found
    // taken fails with a reason that says so. Where the file system can't rename without
    // replacing (some FUSE and network ones), the name is checked just before the rename.
    void takeName(const std::string& name);
    // Keeps the file under the name it has and closes it. Only once it is on the device: a
    // late error of the close itself can no longer take the data back.
    void keep();

  private:
    int folder_;
    std::string name_;
    UniqueFd file_;
};

// Removes the temporaries in the open folder that no running copy holds: those of copies that
// a crash, a kill or a power cut ended, and those that earlier versions' copies left and no
// longer write to. Whatever can't be removed stays, without a word.
void removeLeftoverTemporaries(int folder);

}  // namespace velmora::posix
