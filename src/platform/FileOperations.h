#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ReadBack.h"

namespace velmora {

// The file-system half of the platform, without any toolkit: posix/ implements it for Linux,
// win32/ (with the wide-character calls, so that any name works) for Windows. The desktop
// platforms and the test double share it. Names behave as on Windows: a path part that
// differs from a stored name only in letter case finds that stored entry. Failures throw
// PlatformError with the system's reason.
class FileOperations {
  public:
    // Called now and then with the bytes copied so far and the total, and once more when the
    // data are on the device, before the copy takes its name; returning false cancels the copy.
    using Progress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;

    enum class CopyOutcome { Copied, Cancelled };

    // The bare name of the first entry matching a path whose last part may hold * and ?
    // (unless lookup::kNameAsWritten says it is a name): neither hidden nor system entries,
    // folders only with lookup::kFoldersToo. Empty when nothing matches or the folder does not
    // exist.
    std::string findFirst(const std::string& pattern, int attributeMask) const;
    bool isFolder(const std::string& path) const;
    std::int64_t fileLength(const std::string& path) const;
    void deleteFile(const std::string& path) const;
    void makeFolder(const std::string& path) const;
    // Copies into a hidden temporary file beside the destination, keeps the source's mode and
    // modification time where the file system lets the caller set them, flushes the data to
    // the device, then gives the copy the destination's name in one step and flushes that too.
    // It never replaces a file: a destination name that is taken fails the copy with NameTaken.
    // A source that changes size meanwhile fails it too; so does one too large for the
    // destination's file system, before anything is written. Once on the device, and before
    // it takes its name, the copy is read back past the caches and compared with the source
    // (see readsBack); one that differs fails with NotReadBack. On failure, or on a cancel before
    // the copy has its name and is on the device, nothing of it is left; a cancel seen once it
    // is (the window gave up on a stick that held the rename) takes the name back off where the
    // stick lets it. Otherwise the copy stays, and the outcome is Copied. Its temporary is never
    // listed, but where the file system can't rename without replacing, a cut can leave an empty
    // file under the destination's name: removeLeftovers takes both away.
    CopyOutcome copyFile(const std::string& from, const std::string& to,
                         const Progress& progress = {}) const;
    // Whether the file at copy gives back the source's bytes, read past every cache that can
    // be bypassed, at the stretches of read_back::stretchesToReadBack with a fresh draw;
    // keepGoing is asked before each read. Throws PlatformError, with the path that failed,
    // where either can't be read.
    read_back::Comparison readsBack(const std::string& from, const std::string& copy,
                                    const std::function<bool()>& keepGoing = {}) const;
    // Removes from the folder what copies cut short (a crash, a kill, a power cut) left there and
    // nothing holds any more: temporaries that no running copy has open, and, once a day has
    // passed, the empty files that claimed a video's name for its rename. A copy run does this
    // once, before its first copy, rather than each copy: on a slow stick the sweep looks at
    // every MAQ file of the folder. Whatever can't be removed stays, without a word.
    void removeLeftovers(const std::string& folder) const;
    // The whole file's bytes, read while other programs may go on writing it; nothing when it is
    // larger than limit.
    std::optional<std::string> readWhole(const std::string& path, std::uint64_t limit) const;
    std::uint64_t freeBytesAvailable(const std::string& root) const;
    // The volume that path leads to, links followed: its device number and mount on Linux,
    // its volume serial number on Windows.
    std::uint64_t volumeOf(const std::string& path) const;
    // Names of the folder's regular files that are neither hidden nor system.
    std::vector<std::string> listFiles(const std::string& folder) const;
    std::string workingFolder() const;

    // The path as stored: each part not found as written is replaced by the entry of its
    // folder that differs only in letter case (Windows does this itself).
    std::string resolve(const std::string& path) const;
};

}  // namespace velmora
