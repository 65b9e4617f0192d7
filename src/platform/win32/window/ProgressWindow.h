#pragma once

#include <shlobj.h>

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "win32/ComApartment.h"

namespace velmora::win32 {

// What a progress window says: its title, two lines and how it shows (PROGDLG_ flags).
struct ProgressText {
    std::wstring title;
    std::wstring first;
    std::wstring second;
    DWORD look = 0;
};

// For the copy of one file: the file, which of the run's videos it is and the folders, the
// time left, as the shell's copy shows them.
ProgressText copyProgressText(const std::wstring& from, const std::wstring& to,
                              const CopyStep& step);
// For a wait on a drive: what the program waits for, and a bar that runs.
ProgressText waitProgressText(std::wstring title, std::wstring what);

// The system's progress window (IProgressDialog), with Cancel. Opened by its first showings,
// owned by owner and not modal, so the owner stays enabled and the activation comes back to
// it; closed at the latest when it goes. Without one (the class missing) nothing shows. Only
// the thread that made it touches it.
class ProgressWindow {
  public:
    ProgressWindow(HWND owner, ProgressText text) : owner_(owner), text_(std::move(text)) {}
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
    ProgressText text_;
    ComRef<IProgressDialog> dialog_;
    bool made_ = false;
    bool started_ = false;
    bool closed_ = false;
};

}  // namespace velmora::win32
