#include "posix/UncachedReadBack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

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

// Some file systems take O_DIRECT when the file is opened and then refuse its reads (EINVAL):
// a copy there would never read back, so it is read as on those that refuse it at once.
bool readsDirectly(int fd) {
    alignas(read_back::kAlignment) static thread_local std::byte probe[read_back::kAlignment];
    return sys::pread(fd, probe, sizeof probe, 0) >= 0 || errno != EINVAL;
}

// Opening the file anew through its descriptor's link needs no name, so it also works for a
// temporary whose folder was detached meanwhile.
UniqueFd openPastTheCache(int fd) {
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    UniqueFd direct(sys::open(link.c_str(), O_RDONLY | O_DIRECT | O_CLOEXEC));
    if (direct && readsDirectly(direct.get())) {
        return direct;
    }
    UniqueFd again(sys::open(link.c_str(), O_RDONLY | O_CLOEXEC));
    if (!again) {
        throw systemFailure(errno, false);
    }
    posix_fadvise(again.get(), 0, 0, POSIX_FADV_DONTNEED);
    return again;
}

read_back::ReadAt readerOf(int fd, bool atSource) {
    return [fd, atSource](std::uint64_t offset, std::span<std::byte> into) {
        std::size_t done = 0;
        while (done < into.size()) {
            const ssize_t n = sys::pread(fd, into.data() + done, into.size() - done,
                                         static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) {
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
    };
}

std::uint64_t freshDraw() {
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) | device();
}

}  // namespace

read_back::Comparison compareUncached(int source, int copy,
                                      const std::function<bool()>& keepGoing) {
    const std::uint64_t size = sizeOf(source, true);
    const UniqueFd uncached = openPastTheCache(copy);
    if (sizeOf(uncached.get(), false) != size) {
        return read_back::Comparison::Differs;
    }
    return read_back::compareStretches(read_back::stretchesToReadBack(size, freshDraw()),
                                       readerOf(source, true), readerOf(uncached.get(), false),
                                       keepGoing);
}

}  // namespace posix

bool FileOperations::readsBack(const std::string& from, const std::string& copy) const {
    const auto openToRead = [this](const std::string& path) {
        posix::UniqueFd fd(posix::sys::open(resolve(path).c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd) {
            throw PlatformError("Reading the file", path, std::system_category().message(errno));
        }
        return fd;
    };
    const posix::UniqueFd source = openToRead(from);
    const posix::UniqueFd copied = openToRead(copy);
    try {
        return posix::compareUncached(source.get(), copied.get()) == read_back::Comparison::Same;
    } catch (const posix::CopyFailure& failure) {
        throw PlatformError("Reading the file", failure.atSource ? from : copy, failure.reason);
    }
}

}  // namespace velmora
