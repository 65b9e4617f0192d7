#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <vector>

#include "DriveCalls.h"
#include "FileOperations.h"
#include "OffWindowFiles.h"
#include "platform/PlatformError.h"
#include "posix/CopyFailure.h"
#include "posix/CopyTemporary.h"
#include "posix/LeftoverSweep.h"
#include "posix/SystemCalls.h"
#include "posix/UncachedReadBack.h"
#include "posix/UniqueFd.h"

namespace velmora {
namespace sys = posix::sys;
using posix::CopyFailure;
using posix::systemFailure;
using posix::UniqueFd;
namespace {

// Reads this size keep a cold disk busy: the kernel's readahead stays ahead of them, while a
// read of several megabytes waits for its whole block and leaves the disk idle in between.
constexpr std::size_t kBlockSize = 256u << 10;
// Writeback starts for each stretch this long once it is written, and the stretch before it
// must be on the device before the next one is counted. So little is waiting in memory: the
// progress follows what the stick really holds, the closing flush has little left to do, a
// cancel on a stick of 8 MiB/s does not wait long for what is already being written, and
// even a small video is read while its first part is being written.
constexpr std::uint64_t kWriteBehind = 1u << 20;
// The progress is told at most this often, whatever the block size.
constexpr auto kReportEvery = std::chrono::milliseconds(50);

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ENOSPC, EROFS, EDQUOT and EFBIG can only come from the target; copy_file_range doesn't
// say which side failed otherwise.
bool targetError(int error) {
    return error == ENOSPC || error == EROFS || error == EDQUOT || error == EFBIG;
}

// Copies one block of at most limit bytes, in the kernel where the two file systems allow it.
// Returns the bytes copied, 0 at the end of the source; throws CopyFailure. A read that hangs
// is the source's drive's doing (see DriveCalls::waitingOn), anything else the target's.
std::size_t copyBlock(int from, const std::string& source, int to, std::size_t limit,
                      bool& kernelCopy, std::vector<char>& buffer) {
    for (;;) {
        DriveCalls::waitingOn({});
        if (kernelCopy) {
            const ssize_t n = sys::copy_file_range(from, nullptr, to, nullptr, limit, 0);
            if (n >= 0) {
                return static_cast<std::size_t>(n);
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
                throw systemFailure(errno, !targetError(errno));
            }
            kernelCopy = false;
        }
        buffer.resize(limit);
        DriveCalls::waitingOn(source);
        const ssize_t n = sys::read(from, buffer.data(), buffer.size());
        DriveCalls::waitingOn({});
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw systemFailure(errno, true);
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w =
                sys::write(to, buffer.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno != EINTR) {
                throw systemFailure(errno, false);
            }
            done += w < 0 ? 0 : w;
        }
        return static_cast<std::size_t>(n);
    }
}

void syncRange(int fd, std::uint64_t start, std::uint64_t length, unsigned int flags) {
    if (sys::sync_file_range(fd, static_cast<off_t>(start), static_cast<off_t>(length), flags) !=
        0) {
        throw systemFailure(errno, false);
    }
}

// Keeps the target's writeback one stretch behind its writes and knows how much of it is on
// the device.
class WriteBehind {
  public:
    explicit WriteBehind(int fd) : fd_(fd) {}

    void wrote(std::size_t bytes) {
        written_ += bytes;
        if (written_ - started_ < kWriteBehind) {
            return;
        }
        syncRange(fd_, started_, written_ - started_, SYNC_FILE_RANGE_WRITE);
        if (started_ > onDevice_) {
            syncRange(
                fd_, onDevice_, started_ - onDevice_,
                SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
            // Written pages need no place in memory; other programs' files do.
            posix_fadvise(fd_, static_cast<off_t>(onDevice_),
                          static_cast<off_t>(started_ - onDevice_), POSIX_FADV_DONTNEED);
            onDevice_ = started_;
        }
        started_ = written_;
    }
    std::uint64_t onDevice() const { return onDevice_; }

  private:
    int fd_;
    std::uint64_t written_ = 0;
    std::uint64_t started_ = 0;   // writeback has started below this
    std::uint64_t onDevice_ = 0;  // and finished below this
};

CopyFailure sourceChanged() {
    return {"The file changed while it was copied", true};
}

// Copies the size the source had when it was opened, no more, so the progress never passes
// its end; false when the user cancelled.
bool copyContent(int from, const std::string& source, int to, std::uint64_t total,
                 const FileOperations::Progress& progress) {
    bool kernelCopy = true;
    std::vector<char> buffer;
    WriteBehind target(to);
    auto lastReport = std::chrono::steady_clock::now();
    for (std::uint64_t copied = 0; copied < total;) {
        const std::size_t limit = std::min<std::uint64_t>(kBlockSize, total - copied);
        const std::size_t n = copyBlock(from, source, to, limit, kernelCopy, buffer);
        if (n == 0) {
            throw sourceChanged();  // it shrank
        }
        copied += n;
        target.wrote(n);
        const auto now = std::chrono::steady_clock::now();
        if (progress && now - lastReport >= kReportEvery) {
            lastReport = now;
            if (!progress(target.onDevice(), total)) {
                return false;
            }
        }
    }
    return true;
}

void requireUnchanged(int from, std::uint64_t copied) {
    struct stat now {};
    if (sys::fstat(from, &now) != 0) {
        throw systemFailure(errno, true);
    }
    if (static_cast<std::uint64_t>(now.st_size) != copied) {
        throw sourceChanged();
    }
}

void unlessRefused(int result) {
    if (result != 0 && !posix::refusesExtra(errno)) {
        throw systemFailure(errno, false);
    }
}

void keepTimes(int to, const struct stat& source) {
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    unlessRefused(sys::futimens(to, times));
}

// Only once the copy is read back, which opens it anew: a source readable only through its
// group or others would give a copy that its own user can't open.
void keepMode(int to, const struct stat& source) {
    unlessRefused(sys::fchmod(to, source.st_mode & 0777));
}

void syncFile(int fd) {
    if (sys::fsync(fd) != 0) {
        throw systemFailure(errno, false);
    }
}

// The file's whole room is taken before anything is written. So a full stick, or a file too
// large for its file system (the kernel checks FAT's 4 GiB before anything else), fails the
// copy at its start. And FAT's table gives the file all its clusters at once, so writeback
// puts them on the stick with the file's folder entry, not after it: after a power cut
// mid-copy, the entry of what is left doesn't point into clusters that the table on the stick
// lacks, which turns the stick read-only the moment the leftover is removed. A file system that
// can't take room ahead (FAT and exFAT through FUSE) gives it as the copy writes.
void reserveRoomFor(int to, std::uint64_t size) {
    if (size > 0) {
        unlessRefused(sys::fallocate(to, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)));
    }
}

void syncFolder(int folder) {
    // Some file systems say with EINVAL that they can't sync a folder at all; any other error
    // means the name may not be on the device.
    if (sys::fsync(folder) != 0 && errno != EINVAL && !posix::refusesExtra(errno)) {
        throw systemFailure(errno, false);
    }
}

bool cancelled(const FileOperations::Progress& progress, std::uint64_t total) {
    return progress && !progress(total, total);
}

// What the stick gives back of the synced copy must be its source; false when the user
// cancelled meanwhile. A copy that can't be read back fails as one that differs does.
bool requireReadBack(int from, const std::string& source, int to, std::uint64_t total,
                     const FileOperations::Progress& progress) {
    read_back::Comparison comparison{};
    try {
        comparison =
            posix::compareUncached(from, source, to, [&] { return !cancelled(progress, total); });
    } catch (const CopyFailure& failure) {
        if (failure.atSource) {
            throw;
        }
        comparison = read_back::Comparison::Differs;
    }
    if (comparison == read_back::Comparison::Differs) {
        throw CopyFailure{kNotReadBack, false, false, true};
    }
    return comparison == read_back::Comparison::Same;
}

UniqueFd openFolder(const std::string& folder) {
    UniqueFd dir(sys::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir) {
        throw systemFailure(errno, false);
    }
    return dir;
}

// A lazily unmounted stick stays open to the copy, detached from every path: a copy finished
// there would count as done on a stick that is gone from where the user looks for it.
void requireFolderInPlace(int folder, const std::string& path) {
    struct stat open {};
    struct stat atPath {};
    if (sys::fstat(folder, &open) != 0) {
        throw systemFailure(errno, false);
    }
    if (sys::stat(path.c_str(), &atPath) != 0 || atPath.st_dev != open.st_dev ||
        atPath.st_ino != open.st_ino) {
        throw CopyFailure{"The folder was removed, or its drive unmounted, during the copy", false};
    }
}

// Takes the copy's name back off the stick once the window has given up on it (the user's
// Cancel, or a stick that kept silent for the limit and has now come back): the window said it
// was not copied, and it stays selected. Whether the name is gone; where the stick won't let it
// go, the copy stays and counts as copied.
bool takenBack(posix::CopyTemporary& temporary, int folder) {
    if (!temporary.remove()) {
        return false;
    }
    syncFolder(folder);
    return true;
}

// The copy grows in a temporary and takes the target's name only once it is complete and on
// the device, and only if no file has that name. The order after that is FAT's: its rename
// writes the new folder entry with no clusters and no size, which only the still-open file's
// own sync fills in; the folder's sync then commits the rest, the temporary's entry removed,
// which may lie in another of the folder's sectors. Before the rename the copy is read back
// from the stick, so no name is given to what the stick does not hold. A cancel or failure
// before that leaves nothing; so does a cancel that comes while the name is being written,
// which the stick may hold for long after the window gave up waiting.
FileOperations::CopyOutcome copyOpened(int in, const std::string& source, const struct stat& info,
                                       const std::string& target,
                                       const FileOperations::Progress& progress) {
    const auto total = static_cast<std::uint64_t>(info.st_size);
    const std::string folderPath = folderOf(target);
    const UniqueFd folder = openFolder(folderPath);
    posix::CopyTemporary temporary(folder.get());
    const int out = temporary.fd();
    reserveRoomFor(out, total);
    if (!copyContent(in, source, out, total, progress)) {
        return FileOperations::CopyOutcome::Cancelled;
    }
    requireUnchanged(in, total);
    keepTimes(out, info);
    syncFile(out);
    if (cancelled(progress, total) || !requireReadBack(in, source, out, total, progress)) {
        return FileOperations::CopyOutcome::Cancelled;
    }
    keepMode(out, info);
    requireFolderInPlace(folder.get(), folderPath);
    if (cancelled(progress, total)) {
        return FileOperations::CopyOutcome::Cancelled;
    }
    temporary.takeName(nameOf(target));
    syncFile(out);
    syncFolder(folder.get());
    if (cancelled(progress, total) && takenBack(temporary, folder.get())) {
        return FileOperations::CopyOutcome::Cancelled;
    }
    temporary.keep();
    return FileOperations::CopyOutcome::Copied;
}

}  // namespace

void FileOperations::removeLeftovers(const std::string& folder) const {
    const UniqueFd open(sys::open(resolve(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (open) {
        posix::removeLeftovers(open.get());
    }
}

FileOperations::CopyOutcome FileOperations::copyFile(const std::string& from, const std::string& to,
                                                     const Progress& progress) const {
    DriveCalls::waitingOn(from);
    const std::string source = resolve(from);
    UniqueFd in(sys::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!in || sys::fstat(in.get(), &info) != 0) {
        throw PlatformError("Reading the file", from, std::system_category().message(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        throw PlatformError("Reading the file", from, std::system_category().message(EISDIR));
    }
    posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    DriveCalls::waitingOn({});
    try {
        return copyOpened(in.get(), source, info, resolve(to), progress);
    } catch (const CopyFailure& failure) {
        if (failure.nameTaken) {
            throw NameTaken("Writing the file", to, failure.reason);
        }
        if (failure.notReadBack) {
            throw NotReadBack("Writing the file", to, failure.reason);
        }
        throw PlatformError(failure.atSource ? "Reading the file" : "Writing the file",
                            failure.atSource ? from : to, failure.reason);
    }
}

}  // namespace velmora
