#include "FileOperations.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <memory>
#include <system_error>

#include "platform/Names.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "posix/SystemCalls.h"
#include "posix/UniqueFd.h"

namespace velmora {
namespace sys = posix::sys;
using posix::UniqueFd;
namespace {

std::string systemReason(int error) {
    return std::system_category().message(error);
}

[[noreturn]] void fail(const std::string& operation, const std::string& path, int error = errno) {
    throw PlatformError(operation, path, systemReason(error));
}

// STATX_MNT_ID_UNIQUE, which system headers older than Linux 6.8 lack.
constexpr unsigned kUniqueMountId = 0x4000U;

struct DirCloser {
    void operator()(DIR* dir) const { sys::closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

bool isHidden(const char* name) {
    return name[0] == '.';
}

bool hasWildcard(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

std::pair<std::string, std::string> splitLast(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The entry of folder whose name equals name but for letter case; empty when there is none.
std::string findIgnoringCase(const std::string& folder, const std::string& name) {
    UniqueDir dir(sys::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) {
        return {};
    }
    while (const dirent* entry = sys::readdir(dir.get())) {
        if (equalsIgnoreCase(entry->d_name, name)) {
            return entry->d_name;
        }
    }
    return {};
}

// Whether an entry of folder is a regular file (following links); also says if it's a folder.
bool statEntry(int dirFd, const char* name, struct stat& info) {
    return sys::fstatat(dirFd, name, &info, 0) == 0;
}

// The name as the folder stores the entry found under name. It differs only where the file
// system ignores letter case (a FAT stick): the same entry is then found under the name with
// every letter's case turned, and the folder's listing tells how it is spelt.
std::string storedName(DIR* dir, const std::string& folder, const std::string& name,
                       const struct stat& found) {
    std::string turned = name;
    for (char& c : turned) {
        const auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(std::islower(u) ? std::toupper(u) : std::tolower(u));
    }
    struct stat info {};
    const bool foldsCase = turned != name && statEntry(dirfd(dir), turned.c_str(), info) &&
                           info.st_ino == found.st_ino;
    return foldsCase ? findIgnoringCase(folder, name) : name;
}

}  // namespace

std::string FileOperations::resolve(const std::string& path) const {
    std::string resolved = path.starts_with('/') ? "/" : "";
    std::size_t start = 0;
    bool found = true;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty()) {
            continue;
        }
        const std::string folder = resolved;
        if (!resolved.empty() && !resolved.ends_with('/')) {
            resolved.push_back('/');
        }
        struct stat info {};
        if (found && sys::lstat((resolved + part).c_str(), &info) != 0 && part != "." &&
            part != "..") {
            std::string stored = findIgnoringCase(folder, part);
            if (stored.empty()) {
                found = false;  // nothing below a missing part can be found either
            } else {
                part = std::move(stored);
            }
        }
        resolved += part;
    }
    return resolved.empty() ? path : resolved;
}

std::string FileOperations::findFirst(const std::string& pattern, int attributeMask) const {
    const auto [folderPart, namePattern] = splitLast(pattern);
    const std::string folder = resolve(folderPart);
    UniqueDir dir(sys::opendir(folder.c_str()));
    if (!dir) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {};
        }
        fail("Looking for files in the folder", folderPart);
    }
    const bool foldersToo = (attributeMask & lookup::kFoldersToo) != 0;
    const bool exact = (attributeMask & lookup::kNameAsWritten) != 0 || !hasWildcard(namePattern);
    // A name stored as written is the answer without reading the whole folder.
    if (exact && !isHidden(namePattern.c_str())) {
        struct stat info {};
        if (statEntry(dirfd(dir.get()), namePattern.c_str(), info)) {
            const bool counts = S_ISREG(info.st_mode) || (foldersToo && S_ISDIR(info.st_mode));
            return counts ? storedName(dir.get(), folder, namePattern, info) : std::string();
        }
    }
    while (const dirent* entry = sys::readdir(dir.get())) {
        const bool matches = exact ? equalsIgnoreCase(entry->d_name, namePattern)
                                   : matchesWildcard(entry->d_name, namePattern);
        if (isHidden(entry->d_name) || !matches) {
            continue;
        }
        struct stat info {};
        if (!statEntry(dirfd(dir.get()), entry->d_name, info)) {
            continue;
        }
        if (S_ISREG(info.st_mode) || (foldersToo && S_ISDIR(info.st_mode))) {
            return entry->d_name;
        }
        if (exact && namePattern == entry->d_name) {
            break;  // the name as written is taken by an entry that doesn't count
        }
    }
    return {};
}

bool FileOperations::isFolder(const std::string& path) const {
    struct stat info {};
    return !path.empty() && sys::stat(resolve(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::int64_t FileOperations::fileLength(const std::string& path) const {
    struct stat info {};
    if (sys::stat(resolve(path).c_str(), &info) != 0) {
        fail("Reading the size of the file", path);
    }
    if (S_ISDIR(info.st_mode)) {
        fail("Reading the size of the file", path, EISDIR);
    }
    return static_cast<std::int64_t>(info.st_size);
}

void FileOperations::deleteFile(const std::string& path) const {
    const std::string stored = resolve(path);
    struct stat info {};
    if (sys::lstat(stored.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        fail("Deleting the file", path, EISDIR);
    }
    if (sys::unlink(stored.c_str()) != 0) {
        fail("Deleting the file", path);
    }
}

void FileOperations::makeFolder(const std::string& path) const {
    if (sys::mkdir(resolve(path).c_str(), 0777) != 0) {
        fail("Making the folder", path);
    }
}

std::optional<std::string> FileOperations::readWhole(const std::string& path,
                                                     std::uint64_t limit) const {
    const UniqueFd file(sys::open(resolve(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!file || sys::fstat(file.get(), &info) != 0) {
        fail("Reading the file", path);
    }
    if (static_cast<std::uint64_t>(info.st_size) > limit) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = sys::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            fail("Reading the file", path);
        }
        if (n == 0) {
            break;  // a writer cut it short meanwhile
        }
        done += n < 0 ? 0 : static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

std::uint64_t FileOperations::freeBytesAvailable(const std::string& root) const {
    struct statvfs info {};
    if (sys::statvfs(resolve(root).c_str(), &info) != 0) {
        fail("Measuring the free space of", root);
    }
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

std::uint64_t FileOperations::volumeOf(const std::string& path) const {
    // Links are followed, so a folder that leads to another file system gives that one. The
    // mount counts with the device: a stick plugged in after another was pulled can get the
    // same device number, but it is mounted anew. Linux numbers each mount once from 6.8 on;
    // before, a number can come again, and before 5.8 there is none.
    // The kernel may answer the statx from what it remembers of a FUSE volume whose program
    // has stopped; the free space it always asks of the volume itself, so a check before a
    // deletion or a new folder finds a silent stick before it sends them.
    const std::string stored = resolve(path);
    struct statx info {};
    struct statvfs space {};
    if (sys::statx(AT_FDCWD, stored.c_str(), 0, kUniqueMountId | STATX_MNT_ID, &info) != 0 ||
        sys::statvfs(stored.c_str(), &space) != 0) {
        fail("Reading the drive of", path);
    }
    const std::uint64_t device = (std::uint64_t{info.stx_dev_major} << 32) | info.stx_dev_minor;
    const bool mounted = (info.stx_mask & (kUniqueMountId | STATX_MNT_ID)) != 0;
    return device ^ (mounted ? info.stx_mnt_id * 0x9E3779B97F4A7C15ull : 0);
}

std::vector<std::string> FileOperations::listFiles(const std::string& folder) const {
    UniqueDir dir(sys::opendir(resolve(folder).c_str()));
    if (!dir) {
        fail("Reading the folder", folder);
    }
    std::vector<std::string> names;
    while (const dirent* entry = sys::readdir(dir.get())) {
        if (isHidden(entry->d_name)) {
            continue;
        }
        if (entry->d_type == DT_REG) {
            names.emplace_back(entry->d_name);
            continue;
        }
        struct stat info {};
        if ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
            statEntry(dirfd(dir.get()), entry->d_name, info) && S_ISREG(info.st_mode)) {
            names.emplace_back(entry->d_name);
        }
    }
    return names;
}

std::string FileOperations::workingFolder() const {
    std::unique_ptr<char, decltype(&free)> cwd(getcwd(nullptr, 0), &free);
    if (!cwd) {
        fail("Reading the working folder", ".");
    }
    return cwd.get();
}

}  // namespace velmora
