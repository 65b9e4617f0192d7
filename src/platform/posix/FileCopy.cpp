#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "FileOperations.h"
#include "platform/PlatformError.h"
#include "posix/UniqueFd.h"

namespace velmora {
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

// A failure while copying: the system's error number and which side it concerns.
struct CopyFailure {
    int error;
    bool atSource;
};

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

// Copies one block, in the kernel where the two file systems allow it. Returns the bytes
// copied, 0 at the end of the source; throws CopyFailure.
std::size_t copyBlock(int from, int to, bool& kernelCopy, std::vector<char>& buffer) {
    for (;;) {
        if (kernelCopy) {
            const ssize_t n = copy_file_range(from, nullptr, to, nullptr, kBlockSize, 0);
            if (n >= 0) {
                return static_cast<std::size_t>(n);
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
                throw CopyFailure{errno, !targetError(errno)};
            }
            kernelCopy = false;
        }
        buffer.resize(kBlockSize);
        const ssize_t n = read(from, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw CopyFailure{errno, true};
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(to, buffer.data() + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno != EINTR) {
                throw CopyFailure{errno, false};
            }
            done += w < 0 ? 0 : w;
        }
        return static_cast<std::size_t>(n);
    }
}

void syncRange(int fd, std::uint64_t start, std::uint64_t length, unsigned int flags) {
    if (sync_file_range(fd, static_cast<off_t>(start), static_cast<off_t>(length), flags) != 0) {
        throw CopyFailure{errno, false};
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

// Copies the whole content; false when the user cancelled.
bool copyContent(int from, int to, std::uint64_t total, const FileOperations::Progress& progress) {
    bool kernelCopy = true;
    std::vector<char> buffer;
    WriteBehind target(to);
    auto lastReport = std::chrono::steady_clock::now();
    while (const std::size_t n = copyBlock(from, to, kernelCopy, buffer)) {
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

void keepTimes(int to, const struct stat& source) {
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (futimens(to, times) != 0) {
        throw CopyFailure{errno, false};
    }
}

void syncFolder(const std::string& folder) {
    UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems can't sync a folder; the file's own data is already on the device.
    if (dir) {
        fsync(dir.get());
    }
}

}  // namespace

FileOperations::CopyOutcome FileOperations::copyFile(const std::string& from, const std::string& to,
                                                     const Progress& progress) const {
    const std::string source = resolve(from);
    const std::string target = resolve(to);
    UniqueFd in(open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!in || fstat(in.get(), &info) != 0) {
        throw PlatformError("Reading the file", from, std::system_category().message(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        throw PlatformError("Reading the file", from, std::system_category().message(EISDIR));
    }
    posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    const auto total = static_cast<std::uint64_t>(info.st_size);

    // The copy grows under a hidden name and takes the target's name only once it is
    // complete and on the device, so no half-written file ever carries that name.
    std::string temporary = folderOf(target) + "/." + nameOf(target) + ".velmora-XXXXXX";
    UniqueFd out(mkostemp(temporary.data(), O_CLOEXEC));
    if (!out) {
        throw PlatformError("Writing the file", to, std::system_category().message(errno));
    }
    try {
        bool finished = copyContent(in.get(), out.get(), total, progress);
        if (finished) {
            keepTimes(out.get(), info);
            if (fchmod(out.get(), info.st_mode & 0777) != 0 || fsync(out.get()) != 0) {
                throw CopyFailure{errno, false};
            }
            finished = !progress || progress(total, total);
        }
        if (!finished) {
            out.close();
            unlink(temporary.c_str());
            return CopyOutcome::Cancelled;
        }
        if (out.close() != 0 || rename(temporary.c_str(), target.c_str()) != 0) {
            throw CopyFailure{errno, false};
        }
    } catch (const CopyFailure& failure) {
        out = UniqueFd();
        unlink(temporary.c_str());
        throw PlatformError(failure.atSource ? "Reading the file" : "Writing the file",
                            failure.atSource ? from : to,
                            std::system_category().message(failure.error));
    }
    syncFolder(folderOf(target));
    return CopyOutcome::Copied;
}

}  // namespace velmora
