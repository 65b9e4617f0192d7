#include "posix/LeftoverSweep.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "posix/CopyFailure.h"
#include "posix/CopyNames.h"
#include "posix/FolderEntry.h"
#include "posix/SystemCalls.h"
#include "posix/UniqueFd.h"

namespace velmora::posix {
namespace {

// Earlier versions locked no temporary, and another program may have just made a file under a
// video's name that it has yet to write: for these, only silence tells a leftover from a file
// still being written. A copy waits on its source, and a network source can stall for minutes,
// an hour while its server restarts; no copy comes back after a day, and a leftover that waits
// that long for its sweep costs only its room on the stick meanwhile.
constexpr time_t kSilentForSeconds = 24 * 60 * 60;

bool isCandidate(std::string_view name) {
    return isTemporaryName(name) || isEarlierTemporaryName(name) || isVideoOrThumbnailName(name);
}

bool isLeftOver(std::string_view name, const struct stat& info) {
    if (!S_ISREG(info.st_mode)) {
        return false;
    }
    if (isTemporaryName(name)) {
        return true;  // its lock alone says whether a copy runs
    }
    const bool silent = info.st_mtime < time(nullptr) - kSilentForSeconds;
    return silent && (isEarlierTemporaryName(name) || info.st_size == 0);
}

// A look by name first: most candidates are videos, which need not be opened.
void removeIfLeftOver(int folder, const std::string& name) {
    struct stat info {};
    if (sys::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !isLeftOver(name, info)) {
        return;
    }
    const UniqueFd file(
        sys::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file) {
        removeOpenedLeftover(folder, name, file.get());
    }
}

struct DirCloser {
    void operator()(DIR* dir) const { sys::closedir(dir); }
};

std::vector<std::string> candidatesIn(int folder) {
    // A listing of its own: reading through folder itself would move that descriptor's place.
    std::unique_ptr<DIR, DirCloser> dir(
        sys::fdopendir(sys::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
    std::vector<std::string> names;
    while (const dirent* entry = dir ? sys::readdir(dir.get()) : nullptr) {
        if (isCandidate(entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    return names;
}

}  // namespace

void removeOpenedLeftover(int folder, const std::string& name, int file) {
    struct stat info {};
    if (sys::fstat(file, &info) == 0 && isLeftOver(name, info) &&
        sys::flock(file, LOCK_EX | LOCK_NB) == 0 && namesFile(folder, name, file)) {
        sys::unlinkat(folder, name.c_str(), 0);
    }
}

void removeLeftovers(int folder) {
    for (const std::string& name : candidatesIn(folder)) {
        try {
            removeIfLeftOver(folder, name);
        } catch (const CopyFailure&) {
            // It stays: a later copy tries again.
        }
    }
}

}  // namespace velmora::posix
