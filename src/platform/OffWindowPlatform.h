#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "CopyProgress.h"
#include "OffWindowFiles.h"
#include "platform/Platform.h"

namespace velmora {

// Turns a picture file's bytes into a picture; nullptr when they are not one.
using PictureDecoder = std::function<std::shared_ptr<const Picture>(const std::string& bytes)>;

// The file operations of a desktop platform, each forwarded to OffWindowFiles, so that none
// can freeze the window; the platforms of each system add only what differs between them.
class OffWindowPlatform : public Platform {
  public:
    OffWindowPlatform(std::unique_ptr<AnsweringWait> wait, DriveCalls::DriveOf driveOf,
                      std::chrono::milliseconds silence);

    std::string findFirst(const std::string& pattern, int attributeMask) override;
    bool isFolder(const std::string& path) override;
    std::int64_t fileLength(const std::string& path) override;
    std::vector<FileSize> fileLengths(const std::vector<std::string>& paths) override;
    void deleteFile(const std::string& path) override;
    void makeFolder(const std::string& path) override;
    void copyFile(const std::string& from, const std::string& to) override;
    RecheckResult recheckCopies(const std::vector<CopiedFile>& files) override;
    void removeLeftovers(const std::string& folder) override;
    std::uint64_t freeBytesAvailable(const std::string& root) override;
    VolumeId volumeOf(const std::string& path) override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    std::string workingFolder() override;

  protected:
    // Shows work under way on the stick's thread in a progress window that says what it does,
    // with a bar and Cancel, until it ends; work that has not ended answer_within::kAfterCancel
    // after Cancel is abandoned. False when it was.
    virtual bool showProgress(DriveCalls::Running& work, CopyProgress& progress,
                              const std::string& text) = 0;
    OffWindowFiles& offWindow() { return files_; }
    AnsweringWait& answeringWait() { return *wait_; }

  private:
    std::unique_ptr<AnsweringWait> wait_;
    OffWindowFiles files_;
};

}  // namespace velmora
