#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "FileOperations.h"
#include "platform/PlatformError.h"
#include "posix/UniqueFd.h"

namespace velmora {
using posix::UniqueFd;
namespace {

// Large blocks keep the copy as fast as cp while the memory used stays small and fixed; at
// a slow stick's few megabytes a second, 2 MiB still lets Cancel answer within a second.
constexpr std::size_t kBlockSize = 2u << 20;

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

// Copies the whole content; false when the user cancelled.
bool copyContent(int from, int to, std::uint64_t total, const FileOperations::Progress& progress) {
    bool kernelCopy = true;
    std::vector<char> buffer;
    std::uint64_t copied = 0;
    while (const std::size_t n = copyBlock(from, to, kernelCopy, buffer)) {
        copied += n;
        if (progress && !progress(copied, total)) {
            return false;
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

    // The copy grows under a hidden name and takes the target's name only once it is
    // complete and on the device, so no half-written file ever carries that name.
    std::string temporary = folderOf(target) + "/." + nameOf(target) + ".velmora-XXXXXX";
    UniqueFd out(mkostemp(temporary.data(), O_CLOEXEC));
    if (!out) {
        throw PlatformError("Writing the file", to, std::system_category().message(errno));
    }
    try {
        if (!copyContent(in.get(), out.get(), static_cast<std::uint64_t>(info.st_size), progress)) {
            out.close();
            unlink(temporary.c_str());
            return CopyOutcome::Cancelled;
        }
        keepTimes(out.get(), info);
        if (fchmod(out.get(), info.st_mode & 0777) != 0 || fsync(out.get()) != 0 ||
            out.close() != 0 || rename(temporary.c_str(), target.c_str()) != 0) {
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
