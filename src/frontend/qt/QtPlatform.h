#pragma once

#include "FileOperations.h"
#include "VolumeProbe.h"
#include "platform/Platform.h"

namespace velmora::qt {

// The platform of the Linux desktop: file-system work by the POSIX operations, dialogs,
// pictures, drives and the browser through Qt. Dialogs are owned by the active window, so
// while one is open the window takes no other input. A drive's readiness and free space are
// asked of its volume off the window's thread, so a volume that doesn't answer can't freeze
// the window.
class QtPlatform : public Platform {
  public:
    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title) override;
    std::string findFirst(const std::string& pattern, int attributeMask) override;
    bool isFolder(const std::string& path) override;
    std::int64_t fileLength(const std::string& path) override;
    void deleteFile(const std::string& path) override;
    void makeFolder(const std::string& path) override;
    void copyFile(const std::string& from, const std::string& to) override;
    ShellCopyResult shellCopy(const std::string& from, const std::string& to) override;
    std::optional<std::string> browseForFolder(const std::string& title) override;
    std::uint64_t freeBytesAvailable(const std::string& root) override;
    VolumeId volumeOf(const std::string& path) override;
    void shellOpen(const std::string& address) override;
    std::string aboutPageAddress() override;
    void setBusyCursor(bool busy) override;
    std::shared_ptr<const Picture> loadPicture(const std::string& path) override;
    double randomDraw() override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    std::vector<DriveEntry> listDrives() override;
    bool isDriveReady(const std::string& root) override;
    std::string workingFolder() override;

  private:
    FileOperations files_;
    // A second is long enough for a stick or a disc to wake, short enough to wait for.
    VolumeProbe volumes_{std::chrono::seconds(1)};
    bool busy_ = false;
};

}  // namespace velmora::qt
