#include "OffWindowPlatform.h"

#include "CopiesRecheck.h"

namespace velmora {
namespace {

constexpr const char* kCheckingCopies = "Checking the copies on the stick\u2026";

}  // namespace

OffWindowPlatform::OffWindowPlatform(std::unique_ptr<AnsweringWait> wait,
                                     DriveCalls::DriveOf driveOf, std::chrono::milliseconds silence)
    : wait_(std::move(wait)), files_(*wait_, std::move(driveOf), silence) {}

std::string OffWindowPlatform::findFirst(const std::string& pattern, int attributeMask) {
    return files_.findFirst(pattern, attributeMask);
}

bool OffWindowPlatform::isFolder(const std::string& path) {
    return files_.isFolder(path);
}

std::int64_t OffWindowPlatform::fileLength(const std::string& path) {
    return files_.fileLength(path);
}

std::vector<FileSize> OffWindowPlatform::fileLengths(const std::vector<std::string>& paths) {
    return files_.fileLengths(paths);
}

void OffWindowPlatform::deleteFile(const std::string& path) {
    files_.deleteFile(path);
}

void OffWindowPlatform::makeFolder(const std::string& path) {
    files_.makeFolder(path);
}

void OffWindowPlatform::copyFile(const std::string& from, const std::string& to) {
    files_.copyFile(from, to);
}

RecheckResult OffWindowPlatform::recheckCopies(const std::vector<CopiedFile>& files) {
    if (files.empty()) {
        return {};
    }
    auto progress = std::make_shared<CopyProgress>();
    auto check = std::make_shared<CopiesRecheck>(files);
    // The check owns all it touches: it may outlive this call.
    const std::shared_ptr<DriveCalls::Running> running = files_.calls().start(
        files.front().copy,
        [check, progress, operations = files_.files()] { check->run(operations, *progress); });
    if (!running->finished() && !showProgress(*running, *progress, kCheckingCopies) &&
        running->abandon()) {
        return {check->verdicts(), running->waitedOnDrive()};
    }
    return {check->verdicts()};
}

void OffWindowPlatform::removeLeftovers(const std::string& folder) {
    files_.removeLeftovers(folder);
}

std::uint64_t OffWindowPlatform::freeBytesAvailable(const std::string& root) {
    return files_.freeBytesAvailable(root);
}

VolumeId OffWindowPlatform::volumeOf(const std::string& path) {
    return files_.volumeOf(path);
}

std::vector<std::string> OffWindowPlatform::listFiles(const std::string& folder) {
    return files_.listFiles(folder);
}

std::string OffWindowPlatform::workingFolder() {
    return files_.files().workingFolder();
}

}  // namespace velmora
