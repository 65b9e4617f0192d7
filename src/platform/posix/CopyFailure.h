#pragma once

#include <cerrno>
#include <string>
#include <system_error>

namespace velmora::posix {

// A failure while copying: the reason to show, which side it concerns, and whether it is the
// destination's name found taken, or a copy that the destination did not give back.
struct CopyFailure {
    std::string reason;
    bool atSource;
    bool nameTaken = false;
    bool notReadBack = false;
};

inline CopyFailure systemFailure(int error, bool atSource) {
    return {std::system_category().message(error), atSource};
}

// How a file system refuses what a copy does only if it can: keep the mode and times, take the
// file's room ahead, lock, sync a folder. It lacks the call (FUSE drivers, network file systems:
// ENOSYS, EOPNOTSUPP, which is also ENOTSUP), or doesn't let this user make it (EPERM: FAT owned
// by another user). The copy is as good without it; any other error fails it.
inline bool refusesExtra(int error) {
    return error == ENOSYS || error == EOPNOTSUPP || error == EPERM;
}

}  // namespace velmora::posix
