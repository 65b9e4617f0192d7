#include "posix/UncachedReadBack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <random>
#include <string>
#include <utility>

#include "DriveCalls.h"
#include "FileOperations.h"
#include "platform/PlatformError.h"
#include "posix/CopyFailure.h"
#include "posix/SystemCalls.h"
#include "posix/UniqueFd.h"

namespace velmora {
namespace posix {
namespace {

std::uint64_t sizeOf(int fd, bool atSource) {
    struct stat info {};
    if (sys::fstat(fd, &info) != 0) {
        throw systemFailure(errno, atSource);
    }
    return static_cast<std::uint64_t>(info.st_size);
}

// Reads up to the file's size, never past it: a read that comes back short at the end of the
// file is not asked again at an unaligned offset, which O_DIRECT refuses on older kernels.
// Returns the bytes read; a read that fails with EINVAL is left to `refused`, which returns
// whether to ask again.
template <typename Refused>
std::size_t readUpToSize(int fd, std::uint64_t size, std::uint64_t offset,
                         std::span<std::byte> into, bool atSource, Refused&& refused) {
    const std::uint64_t wanted =
        offset < size ? std::min<std::uint64_t>(into.size(), size - offset) : 0;
    std::size_t done = 0;
    while (done < wanted) {
        const ssize_t n = sys::pread(fd, into.data() + done, into.size() - done,
                                     static_cast<off_t>(offset + done));
        if (n < 0 && (errno == EINTR || (errno == EINVAL && refused()))) {
            continue;
        }
        if (n < 0) {
            throw systemFailure(errno, atSource);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// The copy as the device holds it rather than as the page cache does: opened once more with
// O_DIRECT where the file system takes it. Some take O_DIRECT at the open and then refuse a
// read (EINVAL: FUSE, or an offset or length the device's sectors don't divide); from then
// on the copy is read through the cache, its pages dropped first, which leaves only what is on
// the device once it is synced (and a FUSE file opened again is read from its server).
// Opening the file anew through its descriptor's link needs no name, so it also works for a
// temporary whose folder was detached meanwhile.
class UncachedCopy {
  public:
    explicit UncachedCopy(int copy) {
        const std::string link = "/proc/self/fd/" + std::to_string(copy);
        fd_ = UniqueFd(sys::open(link.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC));
        if (!fd_) {
            fd_ = UniqueFd(sys::open(link.c_str(), O_RDONLY | O_CLOEXEC));
            if (!fd_) {
                throw systemFailure(errno, false);
            }
            readThroughCache();
        }
        size_ = sizeOf(fd_.get(), false);
    }

    std::uint64_t size() const { return size_; }

    // From several threads at once: the first read that O_DIRECT refuses turns the copy to
    // reads through the cache, and each read refused so asks once more.
    std::size_t read(std::uint64_t offset, std::span<std::byte> into) {
        bool askAgain = direct_;
        return readUpToSize(fd_.get(), size_, offset, into, false, [this, &askAgain] {
            const std::lock_guard lock(turning_);
            const bool again = std::exchange(askAgain, false);
            return again && (!direct_ || readThroughCache());
        });
    }

  private:
    bool readThroughCache() {
        const int flags = fcntl(fd_.get(), F_GETFL);
        if (flags < 0 || fcntl(fd_.get(), F_SETFL, flags & ~O_DIRECT) != 0) {
            return false;
        }
        posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_DONTNEED);
        direct_ = false;
        return true;
    }

    UniqueFd fd_;
    std::uint64_t size_ = 0;
    std::atomic<bool> direct_ = true;
    std::mutex turning_;
};

// The source's reads are waits on its own drive: a source that stalls is not a silent stick.
read_back::ReadAt sourceReader(int fd, std::uint64_t size, const std::string& path) {
    return [fd, size, path](std::uint64_t offset, std::span<std::byte> into) {
        DriveCalls::waitingOn(path);
        const std::size_t read = readUpToSize(fd, size, offset, into, true, [] { return false; });
        DriveCalls::waitingOn({});
        return read;
    };
}

std::uint64_t freshDraw() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) | device();
}

}  // namespace

read_back::Comparison compareUncached(int source, const std::string& sourcePath, int copy,
                                      const std::function<bool()>& keepGoing) {
    DriveCalls::waitingOn(sourcePath);
    const std::uint64_t size = sizeOf(source, true);
    DriveCalls::waitingOn({});
    UncachedCopy uncached(copy);
    if (uncached.size() != size) {
        return read_back::Comparison::Differs;
    }
    return read_back::compareStretches(
        read_back::stretchesToReadBack(size, freshDraw()), sourceReader(source, size, sourcePath),
        [&uncached](std::uint64_t offset, std::span<std::byte> into) {
            return uncached.read(offset, into);
        },
        keepGoing);
}

}  // namespace posix

read_back::Comparison FileOperations::readsBack(const std::string& from, const std::string& copy,
                                                const std::function<bool()>& keepGoing) const {
    const auto openToRead = [this](const std::string& path) {
        posix::UniqueFd fd(posix::sys::open(resolve(path).c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd) {
            throw PlatformError("Reading the file", path, std::system_category().message(errno));
        }
        return fd;
    };
    DriveCalls::waitingOn(from);
    const posix::UniqueFd source = openToRead(from);
    DriveCalls::waitingOn({});
    const posix::UniqueFd copied = openToRead(copy);
    try {
        return posix::compareUncached(source.get(), from, copied.get(), keepGoing);
    } catch (const posix::CopyFailure& failure) {
        throw PlatformError("Reading the file", failure.atSource ? from : copy, failure.reason);
    }
}

}  // namespace velmora
