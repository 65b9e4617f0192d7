#pragma once

#include "OffWindowPlatform.h"
#include "QtPicture.h"
#include "posix/MountPoints.h"

namespace velmora::qt {

// The platform of the Linux desktop: file-system work by the POSIX operations, dialogs,
// pictures, drives and the browser through Qt. Dialogs are owned by the active window, so
// while one is open the window takes no other input. Every call on a volume runs off the
// window's thread (see OffWindowFiles), each volume by its mount point, so a volume that
// doesn't answer can't freeze the window.
class QtPlatform : public OffWindowPlatform {
  public:
    // A drive's silence limit (see DriveCalls) and a picture's decoding may be given, so that
    // a decode that outlasts the limit can be tried.
    explicit QtPlatform(std::chrono::milliseconds silence = answer_within::kSilence,
                        PictureDecoder decode = decodePicture);

    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title) override;
    ShellCopyResult shellCopy(const std::string& from, const std::string& to,
                              const CopyStep& step) override;
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

  protected:
    bool showProgress(DriveCalls::Running& work, CopyProgress& progress,
                      const std::string& text) override;

  private:
    posix::MountPoints mounts_;
    PictureDecoder decode_;
    bool busy_ = false;
};

}  // namespace velmora::qt
