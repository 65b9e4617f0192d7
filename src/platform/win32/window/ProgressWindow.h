#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
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

struct ProgressShared;

// A progress window with Cancel, owned by owner and not modal, so the owner stays enabled and
// the activation comes back to it. It runs on a thread of its own, which the caller never waits
// for: showing, updating and closing it only post to that thread. A window closing may keep
// its thread a while (under Wine without a window manager, two seconds), and the window's
// thread must answer other programs meanwhile. Opened by its first showing, closed at the
// latest when it goes; without a thread for it, nothing shows.
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

    HWND owner_;
    ProgressText text_;
    std::shared_ptr<ProgressShared> shared_;
    std::chrono::steady_clock::time_point openedAt_;
};

}  // namespace velmora::win32
