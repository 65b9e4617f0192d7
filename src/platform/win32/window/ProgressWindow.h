#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace velmora::win32 {

// What a progress window says: its title and two lines, whether its bar measures (a copy) or
// runs without an end (a wait), and, for a video of a copy run, where the run stands.
struct ProgressText {
    std::wstring title;
    std::wstring first;
    std::wstring second;
    bool measures = true;
    std::optional<CopyStep> step;
};

// For the copy of one file: the file, the folders, and how far the run is (see copyStepText).
ProgressText copyProgressText(const std::wstring& from, const std::wstring& to,
                              const CopyStep& step);
// For a wait on a drive: what the program waits for, and a bar that runs.
ProgressText waitProgressText(std::wstring title, std::wstring what);

// A progress window with Cancel, owned by owner and not modal, so the owner stays enabled and
// the activation comes back to it. It lives on the thread that makes it, whose wait pumps its
// messages with the owner's (see answerMessagesUntil): opening, updating and closing it never
// wait on another thread, so that thread answers other programs throughout. Opened by its
// first showing, closed at the latest when it goes.
class ProgressWindow {
  public:
    ProgressWindow(HWND owner, ProgressText text) : owner_(owner), text_(std::move(text)) {}
    ~ProgressWindow() { close(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // False once the user has cancelled (Cancel, Escape or the close box).
    bool show(std::uint64_t copied, std::uint64_t total);
    void close();

  private:
    void open();
    std::wstring stepLine(std::uint64_t copied) const;

    HWND owner_;
    ProgressText text_;
    HWND window_ = nullptr;
    HWND shownBefore_ = nullptr;
    HFONT font_ = nullptr;
    bool opened_ = false;
    bool cancelled_ = false;  // set by the window, which keeps its address
    std::chrono::steady_clock::time_point openedAt_;
};

// Whether message is for the thread's progress window, which then took it as a dialog takes
// its keys (Escape cancels, Tab moves on).
bool progressWindowTook(MSG& message);
// The thread's progress window while one shows, else nullptr.
HWND progressWindowShown();

}  // namespace velmora::win32
