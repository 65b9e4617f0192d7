#pragma once

#include "OffWindowPlatform.h"
#include "posix/MountPoints.h"

namespace velmora::qt {

// The platform of the Linux desktop: file-system work by the POSIX operations, dialogs,
// pictures, drives and the browser through Qt. Dialogs are owned by the active window, so
// while one is open the window takes no other input. Every call on a volume runs off the
// window's thread (see OffWindowFiles), each volume by its mount point, so a volume that
// doesn't answer can't freeze the window.
class QtPlatform : public OffWindowPlatform {
  public:
    QtPlatform();

    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title) override;
    ShellCopyResult shellCopy(const std::string& from, const std::string& to) override;
    std::optional<std::string> browseForFolder(const std::string& title,
                                               const std::string& startFolder) override;
    void shellOpen(const std::string& address) override;
    std::string aboutPageAddress() override;
    void setBusyCursor(bool busy) override;
    std::shared_ptr<const Picture> loadPicture(const std::string& path) override;
    double randomDraw() override;
    // Reads the mount table, which also tells each later call its volume.
    std::vector<DriveEntry> listDrives() override;
    bool isDriveReady(const std::string& root) override;

  private:
    posix::MountPoints mounts_;
    bool busy_ = false;
};

}  // namespace velmora::qt
