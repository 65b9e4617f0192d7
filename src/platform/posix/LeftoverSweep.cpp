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
#include "posix/UniqueFd.h"

namespace velmora::posix {
namespace {

// Earlier versions locked no temporary: one that nothing has written to for this long is no
// running copy's.
constexpr time_t kEarlierWriterGoneSeconds = 60;

bool isCandidate(std::string_view name) {
    return isTemporaryName(name) || isEarlierTemporaryName(name);
}

bool isLeftOver(std::string_view name, const struct stat& info) {
    return S_ISREG(info.st_mode) &&
           (isTemporaryName(name) || info.st_mtime < time(nullptr) - kEarlierWriterGoneSeconds);
}

// A running copy holds its files' locks. Once locked here, the name must still be that file's,
// or its copy renamed it meanwhile and it is a video now.
void removeIfLeftOver(int folder, const std::string& name) {
    const UniqueFd file(
        openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file && fstat(file.get(), &info) == 0 && isLeftOver(name, info) &&
        flock(file.get(), LOCK_EX | LOCK_NB) == 0 && namesFile(folder, name, file.get())) {
        unlinkat(folder, name.c_str(), 0);
    }
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

std::vector<std::string> candidatesIn(int folder) {
    // A listing of its own: reading through folder itself would move that descriptor's place.
    std::unique_ptr<DIR, DirCloser> dir(
        fdopendir(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
    std::vector<std::string> names;
    while (const dirent* entry = dir ? readdir(dir.get()) : nullptr) {
        if (isCandidate(entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    return names;
}

}  // namespace

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
