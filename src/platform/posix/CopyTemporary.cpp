#include "posix/CopyTemporary.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>
#include <string_view>
#include <vector>

#include "posix/CopyFailure.h"

namespace velmora::posix {
namespace {

constexpr std::string_view kPrefix = ".velmora-copy-";
constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLetters = 6;

std::string newTemporaryName() {
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string name(kPrefix);
    for (std::size_t i = 0; i < kRandomLetters; ++i) {
        name.push_back(kLetters[pick(random)]);
    }
    return name;
}

// The copies of Velmora's earlier versions named a temporary "." + its destination's name +
// ".velmora-" and six letters or digits, and locked none: one that nothing has written to for
// this long is no running copy's.
constexpr std::string_view kEarlierMark = ".velmora-";
constexpr time_t kEarlierWriterGoneSeconds = 60;

bool endsInRandomLetters(std::string_view name, std::size_t from) {
    return name.size() == from + kRandomLetters &&
           name.find_first_not_of(kLetters, from) == std::string_view::npos;
}

bool isTemporaryName(std::string_view name) {
    return name.starts_with(kPrefix) && endsInRandomLetters(name, kPrefix.size());
}

bool isEarlierTemporaryName(std::string_view name) {
    const auto mark = name.rfind(kEarlierMark);
    return name.starts_with('.') && mark != std::string_view::npos && mark > 1 &&
           endsInRandomLetters(name, mark + kEarlierMark.size());
}

// Whether the folder's entry name is the open file: a cleanup may have removed a temporary
// before its copy locked it, and a copy may rename its temporary after a cleanup opened it.
bool namesFile(int folder, const std::string& name, int file) {
    struct stat byName {};
    struct stat open {};
    if (fstatat(folder, name.c_str(), &byName, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) {
            return false;
        }
        throw systemFailure(errno, false);
    }
    if (fstat(file, &open) != 0) {
        throw systemFailure(errno, false);
    }
    return byName.st_dev == open.st_dev && byName.st_ino == open.st_ino;
}

// Where the file system has no locks, no cleanup can lock the file either, and none removes
// it: the copy goes on unlocked.
void lockOrWait(int file) {
    int result = 0;
    do {
        result = flock(file, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    // A network file system without its lock service (ENOLCK) has no locks either.
    if (result != 0 && errno != ENOLCK && !refusesExtra(errno)) {
        throw systemFailure(errno, false);
    }
}

CopyFailure nameTaken(const std::string& name) {
    return {"There is already a file named \"" + name + "\" there; it stays as it is", false};
}

// For a file system that refuses RENAME_NOREPLACE: a file that takes the name between the
// check and the rename is replaced, which only a program racing this one can do.
void renameIfFree(int folder, const std::string& from, const std::string& to) {
    struct stat existing {};
    if (fstatat(folder, to.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        throw nameTaken(to);
    }
    if (errno != ENOENT || renameat(folder, from.c_str(), folder, to.c_str()) != 0) {
        throw systemFailure(errno, false);
    }
}

// A copy that still runs holds its temporary's lock. Once locked here, the name must still be
// that file's, or its copy renamed it meanwhile and it is a video now.
void removeIfLeftOver(int folder, const std::string& name) {
    const UniqueFd file(
        openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file && fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) &&
        (isTemporaryName(name) || info.st_mtime < time(nullptr) - kEarlierWriterGoneSeconds) &&
        flock(file.get(), LOCK_EX | LOCK_NB) == 0 && namesFile(folder, name, file.get())) {
        unlinkat(folder, name.c_str(), 0);
    }
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

std::vector<std::string> temporariesIn(int folder) {
    // A listing of its own: reading through folder itself would move that descriptor's place.
    std::unique_ptr<DIR, DirCloser> dir(
        fdopendir(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
    std::vector<std::string> names;
    while (const dirent* entry = dir ? readdir(dir.get()) : nullptr) {
        if (isTemporaryName(entry->d_name) || isEarlierTemporaryName(entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    return names;
}

}  // namespace

CopyTemporary::CopyTemporary(int folder) : folder_(folder) {
    for (;;) {
        name_ = newTemporaryName();
        file_ =
            UniqueFd(openat(folder, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
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
    try {
        if (file_ && namesFile(folder_, name_, file_.get())) {
            unlinkat(folder_, name_.c_str(), 0);
        }
    } catch (const CopyFailure&) {
        // The stick is gone or failing: nothing more can be removed from it.
    }
}

void CopyTemporary::takeName(const std::string& name) {
    if (renameat2(folder_, name_.c_str(), folder_, name.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) {
            throw nameTaken(name);
        }
        if (errno != EINVAL && errno != ENOSYS) {
            throw systemFailure(errno, false);
        }
        renameIfFree(folder_, name_, name);
    }
    name_ = name;
}

void CopyTemporary::keep() {
    file_ = UniqueFd();
}

void removeLeftoverTemporaries(int folder) {
    for (const std::string& name : temporariesIn(folder)) {
        try {
            removeIfLeftOver(folder, name);
        } catch (const CopyFailure&) {
            // It stays: a later copy tries again.
        }
    }
}

}  // namespace velmora::posix
