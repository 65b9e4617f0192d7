#pragma once

#include "EventLoopWait.h"
#include "MountPoints.h"
#include "OffWindowFiles.h"
#include "platform/Platform.h"

namespace velmora::qt {

// The platform of the Linux desktop: file-system work by the POSIX operations, dialogs,
// pictures, drives and the browser through Qt. Dialogs are owned by the active window, so
// while one is open the window takes no other input. Every call on a volume runs off the
// window's thread (see OffWindowFiles), each volume by its mount point, so a volume that
// doesn't answer can't freeze the window.
class QtPlatform : public Platform {
  public:
    QtPlatform();

    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title) override;
    std::string findFirst(const std::string& pattern, int attributeMask) override;
    bool isFolder(const std::string& path) override;
    std::int64_t fileLength(const std::string& path) override;
    std::vector<FileSize> fileLengths(const std::vector<std::string>& paths) override;
    void deleteFile(const std::string& path) override;
    void makeFolder(const std::string& path) override;
    void copyFile(const std::string& from, const std::string& to) override;
    ShellCopyResult shellCopy(const std::string& from, const std::string& to) override;
    bool readsBack(const std::string& from, const std::string& copy) override;
    void removeLeftovers(const std::string& folder) override;
    std::optional<std::string> browseForFolder(const std::string& title) override;
    std::uint64_t freeBytesAvailable(const std::string& root) override;
    VolumeId volumeOf(const std::string& path) override;
    void shellOpen(const std::string& address) override;
    std::string aboutPageAddress() override;
    void setBusyCursor(bool busy) override;
    std::shared_ptr<const Picture> loadPicture(const std::string& path) override;
    double randomDraw() override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    // Reads the mount table, which also tells each later call its volume.
    std::vector<DriveEntry> listDrives() override;
    bool isDriveReady(const std::string& root) override;
    std::string workingFolder() override;

  private:
    EventLoopWait wait_;
    MountPoints mounts_;
    OffWindowFiles files_;
    bool busy_ = false;
};

}  // namespace velmora::qt
