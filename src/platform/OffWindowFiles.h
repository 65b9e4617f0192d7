#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DriveCalls.h"
#include "FileOperations.h"
#include "platform/Platform.h"

namespace velmora {

// What the user is told of a copy of video left behind a while after Cancel (see
// DriveCalls::Running::abandon): that the stick stopped answering, or the video's folder where
// the copy was left waiting on its read.
inline std::string copyLeftBehindReason(const DriveCalls::Running& copy, const std::string& video) {
    const std::string silent = copy.waitedOnDrive() == copy.drive()
                                   ? std::string("The drive")
                                   : "The folder of \"" + video + "\"";
    return silent + " stopped answering. The video was not copied and stays selected.";
}

// What the user is told of a copy that the stick did not give back (see NotReadBack).
inline constexpr const char* kNotReadBack =
    "The stick did not give back what was written to it: it may be failing, or hold less than "
    "it claims. The video was not copied and stays selected.";

// The file operations as the window's thread calls them: each runs through DriveCalls on the
// drive of its (first) path, so none can freeze the window, and each throws
// DriveNotAnswering where that drive keeps silent for the limit (see DriveCalls).
class OffWindowFiles {
  public:
    OffWindowFiles(AnsweringWait& wait, DriveCalls::DriveOf driveOf,
                   std::chrono::milliseconds silence = answer_within::kSilence)
        : calls_(wait, std::move(driveOf), silence) {}

    std::string findFirst(const std::string& pattern, int attributeMask) {
        return onDrive(&FileOperations::findFirst, pattern, attributeMask);
    }
    bool isFolder(const std::string& path) { return onDrive(&FileOperations::isFolder, path); }
    std::int64_t fileLength(const std::string& path) {
        return onDrive(&FileOperations::fileLength, path);
    }
    // One call for all: the limit holds for each size.
    std::vector<FileSize> fileLengths(const std::vector<std::string>& paths) {
        if (paths.empty()) {
            return {};
        }
        return calls_.call(paths.front(), [files = files_, paths] {
            return sizesOf(paths,
                           [&files](const std::string& path) { return files.fileLength(path); });
        });
    }
    void deleteFile(const std::string& path) { onDrive(&FileOperations::deleteFile, path); }
    void makeFolder(const std::string& path) { onDrive(&FileOperations::makeFolder, path); }
    // On the destination's drive, which the copy writes to and flushes.
    void copyFile(const std::string& from, const std::string& to) {
        calls_.call(to, [files = files_, from, to] { files.copyFile(from, to); });
    }
    void removeLeftovers(const std::string& folder) {
        onDrive(&FileOperations::removeLeftovers, folder);
    }
    std::uint64_t freeBytesAvailable(const std::string& root) {
        return onDrive(&FileOperations::freeBytesAvailable, root);
    }
    std::uint64_t volumeOf(const std::string& path) {
        return onDrive(&FileOperations::volumeOf, path);
    }
    std::vector<std::string> listFiles(const std::string& folder) {
        return onDrive(&FileOperations::listFiles, folder);
    }

    // A picture file's bytes, read from its drive, each read an answer;
    // nothing for a file far larger than a thumbnail, which is taken for no picture rather than
    // read into memory whole. Its decoding is work of the program's own (see workAside).
    std::optional<std::string> pictureBytes(const std::string& path) {
        constexpr std::uint64_t kLargestPicture = 64ull * 1024 * 1024;
        return onDrive(&FileOperations::readWhole, path, kLargestPicture);
    }

    // For the calls of the platform's own, such as reading a picture or a copy's progress.
    DriveCalls& calls() { return calls_; }
    const FileOperations& files() const { return files_; }

  private:
    template <typename Method, typename... Arguments>
    std::invoke_result_t<Method, const FileOperations&, const std::string&, Arguments...> onDrive(
        Method method, const std::string& path, Arguments... arguments) {
        return calls_.call(path, [files = files_, method, path, arguments...] {
            return (files.*method)(path, arguments...);
        });
    }

    FileOperations files_;
    DriveCalls calls_;
};

}  // namespace velmora
