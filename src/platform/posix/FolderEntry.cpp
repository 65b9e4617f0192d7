#include "posix/FolderEntry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "posix/CopyFailure.h"
#include "posix/SystemCalls.h"

namespace velmora::posix {

bool namesFile(int folder, const std::string& name, int file) {
    struct stat byName {};
    struct stat open {};
    if (sys::fstatat(folder, name.c_str(), &byName, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) {
            return false;
        }
        throw systemFailure(errno, false);
    }
    if (sys::fstat(file, &open) != 0) {
        throw systemFailure(errno, false);
    }
    return byName.st_dev == open.st_dev && byName.st_ino == open.st_ino;
}

void lockOrWait(int file) {
    int result = 0;
    do {
        result = sys::flock(file, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    // A network file system without its lock service (ENOLCK) has no locks either.
    if (result != 0 && errno != ENOLCK && !refusesExtra(errno)) {
        throw systemFailure(errno, false);
    }
}

void removeIfNamesFile(int folder, const std::string& name, int file) noexcept {
    try {
        if (namesFile(folder, name, file)) {
            sys::unlinkat(folder, name.c_str(), 0);
        }
    } catch (const CopyFailure&) {
        // The drive is gone or failing.
    }
}

}  // namespace velmora::posix
