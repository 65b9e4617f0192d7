#pragma once

#include <windows.h>

#include <cstdint>
#include <random>

#include "OffWindowPlatform.h"
#include "win32/ComApartment.h"
#include "win32/files/WicPicture.h"
#include "win32/window/MessagePump.h"

namespace velmora::win32 {

// The platform on Windows: the file system, the shell's folder browser, copy and open,
// message boxes, pictures by WIC, the busy cursor and the random draw. Every call that touches
// a drive runs off the window's thread (see OffWindowFiles), each drive known by its root
// (see driveRootOf), so a drive that doesn't answer can't freeze the window: the window goes on
// painting and answering, and the user's keys and clicks wait until the handler is done.
class Win32Platform : public OffWindowPlatform {
  public:
    // A drive's silence limit (see DriveCalls) and a picture's decoding may be given, so that
    // a decode that outlasts the limit can be tried.
    explicit Win32Platform(std::chrono::milliseconds silence = answer_within::kSilence,
                           PictureDecoder decode = decodePicture);

    // The window that message boxes and the folder browser are modal over.
    void setOwner(HWND owner) {
        owner_ = owner;
        pump_.setOwner(owner);
    }
    // Whether the busy cursor is on, which is while a video is copied or the window waits on a
    // drive: the window shows it wherever the pointer is over it.
    bool busy() const { return busy_ || pump_.waiting(); }

    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title) override;
    // The shell's copy, checked: a copy that did not arrive whole counts as failed whatever
    // the shell said, is reported, and leaves nothing behind; so does a failure that the shell
    // returns without a message of its own, and an abort without a cancel. The copy takes the
    // target's name only once it is whole on the stick, and only where no file has that name: a
    // file found there stays as it is, and the result says so without a word to the user. A
    // source too large for the stick's file system is refused before anything is written. A
    // source too long for the shell is copied by the program's own copy, with a progress window
    // of its own, which also shows, with Cancel, while the shell's copy is put on the stick. The
    // whole copy runs on its drive's thread (see waitForCopy); while it runs, the session does
    // not end of itself, and the window paints and answers but takes no input. One that hasn't
    // ended a while after Cancel is left behind, and the user told that the drive stopped
    // answering.
    ShellCopyResult shellCopy(const std::string& from, const std::string& to,
                              const CopyStep& step) override;
    std::optional<std::string> browseForFolder(const std::string& title,
                                               const std::string& startFolder) override;
    std::string fullPath(const std::string& path) override;
    void shellOpen(const std::string& address) override;
    // The help page is built into the program; the browser gets it as one file in the user's
    // temporary folder, written only when that file doesn't hold the page already.
    std::string aboutPageAddress() override;
    void setBusyCursor(bool busy) override;
    std::shared_ptr<const Picture> loadPicture(const std::string& path) override;
    double randomDraw() override;
    std::vector<DriveEntry> listDrives() override;
    // A network drive whose connection is down is not touched; a drive that has not answered
    // an earlier call, or doesn't answer this one, is not ready.
    bool isDriveReady(const std::string& root) override;
    // Upper case as the system's folders compare names, for every script, not only ASCII.
    std::string nameKey(std::string_view name) override;

  protected:
    bool showProgress(DriveCalls::Running& work, CopyProgress& progress,
                      const std::string& text) override;

  private:
    ComApartment com_;
    MessagePumpWait& pump_;  // the shared base's wait
    PictureDecoder decode_;
    HWND owner_ = nullptr;
    bool busy_ = false;
    std::mt19937_64 random_;
};

}  // namespace velmora::win32
