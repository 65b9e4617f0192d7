#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DriveCalls.h"
#include "FileOperations.h"
#include "platform/Platform.h"

namespace velmora {

// What the user is told of a copy left behind a while after Cancel (see
// DriveCalls::Running::abandon).
inline constexpr const char* kCopyLeftBehind =
    "The drive stopped answering. The video was not copied and stays selected.";

// The file operations as the window's thread calls them: each runs through DriveCalls on the
// drive of its (first) path, so none can freeze the window, and each throws
// DriveNotAnswering where that drive gives no answer in time.
class OffWindowFiles {
  public:
    OffWindowFiles(AnsweringWait& wait, DriveCalls::DriveOf driveOf)
        : calls_(wait, std::move(driveOf)) {}

    std::string findFirst(const std::string& pattern, int attributeMask) {
        return onDrive(answer_within::kLookup, &FileOperations::findFirst, pattern, attributeMask);
    }
    bool isFolder(const std::string& path) {
        return onDrive(answer_within::kLookup, &FileOperations::isFolder, path);
    }
    std::int64_t fileLength(const std::string& path) {
        return onDrive(answer_within::kLookup, &FileOperations::fileLength, path);
    }
    // One call for all: the limit holds for each size.
    std::vector<FileSize> fileLengths(const std::vector<std::string>& paths) {
        if (paths.empty()) {
            return {};
        }
        return calls_.call(paths.front(), answer_within::kLookup, [files = files_, paths] {
            return sizesOf(
                paths, [&files](const std::string& path) { return files.fileLength(path); },
                DriveCalls::answered);
        });
    }
    void deleteFile(const std::string& path) {
        onDrive(answer_within::kWrite, &FileOperations::deleteFile, path);
    }
    void makeFolder(const std::string& path) {
        onDrive(answer_within::kWrite, &FileOperations::makeFolder, path);
    }
    // On the destination's drive, which the copy writes to and flushes.
    void copyFile(const std::string& from, const std::string& to) {
        calls_.call(to, answer_within::kWrite,
                    [files = files_, from, to] { files.copyFile(from, to); });
    }
    // A write step: it removes files.
    void removeLeftovers(const std::string& folder) {
        onDrive(answer_within::kWrite, &FileOperations::removeLeftovers, folder);
    }
    std::uint64_t freeBytesAvailable(const std::string& root) {
        return onDrive(answer_within::kLookup, &FileOperations::freeBytesAvailable, root);
    }
    std::uint64_t volumeOf(const std::string& path) {
        return onDrive(answer_within::kLookup, &FileOperations::volumeOf, path);
    }
    std::vector<std::string> listFiles(const std::string& folder) {
        return onDrive(answer_within::kLookup, &FileOperations::listFiles, folder);
    }

    // A picture file's bytes, read from its drive under the lookup's limit, each read an answer;
    // nothing for a file far larger than a thumbnail, which is taken for no picture rather than
    // read into memory whole. Its decoding is work of the program's own (see workAside).
    std::optional<std::string> pictureBytes(const std::string& path) {
        constexpr std::uint64_t kLargestPicture = 64ull * 1024 * 1024;
        return onDrive(answer_within::kLookup, &FileOperations::readWhole, path, kLargestPicture);
    }

    // For the calls of the platform's own, such as reading a picture or a copy's progress.
    DriveCalls& calls() { return calls_; }
    const FileOperations& files() const { return files_; }

  private:
    template <typename Method, typename... Arguments>
    std::invoke_result_t<Method, const FileOperations&, const std::string&, Arguments...> onDrive(
        std::chrono::milliseconds limit, Method method, const std::string& path,
        Arguments... arguments) {
        return calls_.call(path, limit, [files = files_, method, path, arguments...] {
            return (files.*method)(path, arguments...);
        });
    }

    FileOperations files_;
    DriveCalls calls_;
};

}  // namespace velmora
