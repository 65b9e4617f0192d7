#include "posix/CopyTemporary.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "posix/CopyFailure.h"
#include "posix/CopyNames.h"
#include "posix/FolderEntry.h"
#include "posix/SystemCalls.h"

namespace velmora::posix {
namespace {

CopyFailure nameTaken(const std::string& name) {
    return {"There is already a file named \"" + name + "\" there; it stays as it is", false, true};
}

// An empty file that holds a name for a rename that would otherwise replace whatever another
// program made under it meanwhile. Made only where no file has the name as the file system
// compares names (FAT's in any letter case), and locked, so that no sweep takes it; removed
// again if nothing replaced it.
class NameClaim {
  public:
    NameClaim(int folder, const std::string& name)
        : folder_(folder),
          name_(name),
          file_(sys::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)) {
        if (!file_) {
            throw errno == EEXIST ? nameTaken(name) : systemFailure(errno, false);
        }
        lockOrWait(file_.get());
    }
    ~NameClaim() { removeIfNamesFile(folder_, name_, file_.get()); }
    NameClaim(const NameClaim&) = delete;
    NameClaim& operator=(const NameClaim&) = delete;

  private:
    int folder_;
    std::string name_;
    UniqueFd file_;
};

}  // namespace

CopyTemporary::CopyTemporary(int folder) : folder_(folder) {
    for (;;) {
        name_ = newTemporaryName();
        file_ = UniqueFd(
            sys::openat(folder, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!file_) {
            if (errno == EEXIST) {
                continue;
            }
            throw systemFailure(errno, false);
        }
        lockOrWait(file_.get());
        if (namesFile(folder, name_, file_.get())) {
            return;
        }
    }
}

CopyTemporary::~CopyTemporary() {
    if (file_) {
        removeIfNamesFile(folder_, name_, file_.get());
    }
}

bool CopyTemporary::remove() {
    removeIfNamesFile(folder_, name_, file_.get());
    struct stat info {};
    if (sys::fstatat(folder_, name_.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT) {
        return false;
    }
    file_ = UniqueFd();
    return true;
}

void CopyTemporary::takeName(const std::string& name) {
    if (sys::renameat2(folder_, name_.c_str(), folder_, name.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) {
            throw nameTaken(name);
        }
        if (errno != EINVAL && errno != ENOSYS) {
            throw systemFailure(errno, false);
        }
        replaceClaim(name);
    }
    name_ = name;
}

void CopyTemporary::replaceClaim(const std::string& name) {
    const NameClaim claim(folder_, name);
    if (sys::renameat(folder_, name_.c_str(), folder_, name.c_str()) != 0) {
        throw systemFailure(errno, false);
    }
}

void CopyTemporary::keep() {
    file_ = UniqueFd();
}

}  // namespace velmora::posix
