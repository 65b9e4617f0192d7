#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Picture.h"
#include "platform/Names.h"
#include "platform/PlatformError.h"

namespace velmora {

// Message box flags and answers, with the values Windows gives them.
namespace mb {
inline constexpr int kOk = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kIconError = 16;
inline constexpr int kIconQuestion = 32;
inline constexpr int kDefaultButton2 = 256;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
}  // namespace mb

// Attribute masks of the first-match lookup.
namespace lookup {
inline constexpr int kFilesOnly = 0;
inline constexpr int kFoldersToo = 16;
// Added to either: the last part is a name to find as written, not a pattern. A thumbnail's
// name is made from a video's, and on Linux a name may hold * and ? (on Windows none does).
inline constexpr int kNameAsWritten = 1 << 16;
}  // namespace lookup

struct DriveEntry {
    std::string text;  // what the drive list shows, e.g. "e: [PSP]" or "/media/stick [PSP]"
    std::string root;  // the drive's root, ending in the path separator: "e:\", "/media/stick/"
};

// Tells volumes apart: two paths on one volume have the same identity.
using VolumeId = std::uint64_t;

// The size of one of several files asked together: its bytes, or why it can't be read.
struct FileSize {
    std::int64_t bytes = 0;
    std::exception_ptr failure;  // a PlatformError
};

// Asks each path's size in turn, a failure in its place where one can't be read.
inline std::vector<FileSize> sizesOf(
    const std::vector<std::string>& paths,
    const std::function<std::int64_t(const std::string&)>& length) {
    std::vector<FileSize> sizes;
    sizes.reserve(paths.size());
    for (const std::string& path : paths) {
        try {
            sizes.push_back({length(path), nullptr});
        } catch (const PlatformError&) {
            sizes.push_back({0, std::current_exception()});
        }
    }
    return sizes;
}

struct ShellCopyResult {
    int code = 0;            // 0 when the copy succeeded
    bool aborted = false;    // the user cancelled
    bool nameTaken = false;  // the destination's name was taken: nothing copied, nothing said
    // The root of the drive that stopped answering during the copy, which the user was told:
    // the destination's, or the source's where the copy was left waiting on its read. Empty
    // when none did.
    std::string silentDrive{};
};

// Where one video's copy stands in its run, for its progress window to say how far the run is.
struct CopyStep {
    int number = 1;  // the video's place among the run's videos, from 1
    int count = 1;
    std::uint64_t bytesBefore = 0;  // of the run's videos before this one
    std::uint64_t runBytes = 0;     // of all the run's videos; 0 where they can't be read
};

// A file that a copy run put on the stick, with the file it copied.
struct CopiedFile {
    std::string from;
    std::string copy;
};

// What the last check of a copy run found of one copied file.
enum class Recheck { Same, Differs, Unchecked };

struct RecheckResult {
    std::vector<Recheck> files;  // one for each file asked, in order
    // The root of the drive that stopped answering during the check: the stick, or a source's
    // drive. Empty when none did.
    std::string silentDrive{};
};

// Every operating-system and desktop service the window's handlers use. Paths are UTF-8;
// each implementation converts them to the native form. A name lookup behaves as on Windows:
// when the last part of a path differs from a stored name only in letter case, the stored
// file is the one found, read, copied or deleted.
//
// Operations that fail throw PlatformError, except where the result says otherwise. Those on
// a drive (lookups, sizes, listings, changes, copies) throw DriveNotAnswering when the drive
// gives no answer in time; the window's thread keeps answering while they wait.
class Platform {
  public:
    virtual ~Platform() = default;

    // Returns mb::kAnswerYes, mb::kAnswerNo or mb::kAnswerOk. Without a title the box shows
    // the program's name.
    virtual int messageBox(const std::string& text, int flags,
                           const std::optional<std::string>& title = std::nullopt) = 0;

    // The bare name of the first entry matching a path whose last part may hold * and ?
    // (unless lookup::kNameAsWritten says it is a name); hidden and system entries never
    // match, folders only with lookup::kFoldersToo.
    // Empty when nothing matches.
    virtual std::string findFirst(const std::string& pattern, int attributeMask) = 0;
    virtual bool isFolder(const std::string& path) = 0;
    virtual std::int64_t fileLength(const std::string& path) = 0;
    // The sizes of several files, each as fileLength gives it, in one go: a selection of
    // thousands asks its drive once.
    virtual std::vector<FileSize> fileLengths(const std::vector<std::string>& paths) {
        return sizesOf(paths, [this](const std::string& path) { return fileLength(path); });
    }
    // A missing file is an error.
    virtual void deleteFile(const std::string& path) = 0;
    // An existing folder is an error.
    virtual void makeFolder(const std::string& path) = 0;
    // Makes the destination a copy of the source, only where no file has its name: a name
    // that is taken fails the copy, and the file of that name stays as it is. On failure
    // nothing of the copy is left.
    virtual void copyFile(const std::string& from, const std::string& to) = 0;
    // Copies one file with a progress window the user can cancel, as copyFile does: never
    // onto a name that is taken, which the result tells without a word to the user. Reports
    // its other errors to the user; on failure or cancel nothing new is left at the
    // destination, but a cancel that comes once the copy is whole under its name leaves it
    // there and reports success.
    // The window says where the video stands in its run.
    virtual ShellCopyResult shellCopy(const std::string& from, const std::string& to,
                                      const CopyStep& step) = 0;
    // Whether each copy still gives back its source's bytes, read from the drive past every
    // cache that can be bypassed: a thumbnail whole, a video by samples spread over all of it.
    // Both copies above do this before the copy takes its name; a card that wraps around may
    // lose a copy to one made after it. Checked in turn in a progress window ("Checking the
    // copies on the stick…") whose Cancel ends the check at once. A copy that can't be read
    // ends it too: the stick may have gone. A source that can't be read leaves its file
    // Unchecked and the check goes on. Files the check did not reach are Unchecked; only
    // bytes read back that differ make one Differs.
    virtual RecheckResult recheckCopies(const std::vector<CopiedFile>& files) = 0;
    // Removes from the folder what copies cut short left there (a crash, a kill, a power cut)
    // and nothing holds any more; whatever can't be removed stays, without a word. A copy run
    // calls it once, before its first copy.
    virtual void removeLeftovers(const std::string& folder) = 0;
    // The chosen file-system folder, without a final separator except at a root; nothing
    // when the user cancels. The browser opens at startFolder where that is a folder.
    virtual std::optional<std::string> browseForFolder(const std::string& title,
                                                       const std::string& startFolder) = 0;
    // A typed path as the system resolves it (absolute, with its own separators, without "."
    // and ".." parts), for a folder that is about to be listed and copied from. Where the
    // system has no such form, the path as typed.
    virtual std::string fullPath(const std::string& path) { return path; }
    // Bytes available to the caller on the volume holding root.
    virtual std::uint64_t freeBytesAvailable(const std::string& root) = 0;
    // The volume that path leads to, links and junctions followed: a stick swapped for
    // another at the same place, or the empty folder a pulled one leaves, gives another one.
    virtual VolumeId volumeOf(const std::string& path) = 0;
    // Opens an address in the user's browser; failures are ignored.
    virtual void shellOpen(const std::string& address) = 0;
    // The address of the page installed with the program that explains how to use it.
    virtual std::string aboutPageAddress() = 0;
    virtual void setBusyCursor(bool busy) = 0;
    // A thumbnail decoded by its content, whatever its extension; nullptr when the file is
    // not a picture.
    virtual std::shared_ptr<const Picture> loadPicture(const std::string& path) = 0;
    // Reseeds from the clock, then draws uniformly from [0, 1).
    virtual double randomDraw() = 0;

    // For the control models: names of the visible (neither hidden nor system) regular files
    // in a folder, in no particular order.
    virtual std::vector<std::string> listFiles(const std::string& folder) = 0;
    virtual std::vector<DriveEntry> listDrives() = 0;
    // True when root is the root of one of the machine's drives and can be read now. A stick
    // pulled out can leave its mount point behind as an empty folder of the computer's own
    // disk, which is no drive. Waits at most a second or two on a volume that doesn't answer,
    // such as a share whose server has gone, which is then not ready.
    virtual bool isDriveReady(const std::string& root) {
        const std::vector<DriveEntry> drives = listDrives();
        return std::any_of(drives.begin(), drives.end(),
                           [&root](const DriveEntry& drive) { return drive.root == root; }) &&
               isFolder(root);
    }
    // The process's working folder at start-up.
    virtual std::string workingFolder() = 0;
    // A name's key as this system's folders compare names: names that differ only in letter
    // case have the same key.
    virtual std::string nameKey(std::string_view name) { return foldedCase(name); }
};

}  // namespace velmora
