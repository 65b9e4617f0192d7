#pragma once

#include <shlobj.h>

#include <cstdint>
#include <string>

#include "win32/ComApartment.h"

namespace velmora::win32 {

// The system's progress window (IProgressDialog) for the copy of one file: the file, the
// folders, the time left and Cancel, as the shell's copy shows them. Opened by its first
// showings, owned by owner and not modal, so the owner stays enabled and the activation comes
// back to it; closed at the latest when it goes. Without one (the class missing) nothing
// shows. Only the thread that made it touches it.
class ProgressWindow {
  public:
    ProgressWindow(HWND owner, std::wstring from, std::wstring to)
        : owner_(owner), from_(std::move(from)), to_(std::move(to)) {}
    ~ProgressWindow() { close(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // False once the user has cancelled. The window opens in two steps, on the first two
    // showings, so that the calling thread answers its messages in between.
    bool show(std::uint64_t copied, std::uint64_t total);
    void close();

  private:
    void make();

    HWND owner_;
    std::wstring from_;
    std::wstring to_;
    ComRef<IProgressDialog> dialog_;
    bool made_ = false;
    bool started_ = false;
    bool closed_ = false;
};

}  // namespace velmora::win32
