#pragma once

#include <windows.h>

namespace velmora::win32 {

// While one lives, the window refuses to let the session end (log-off, restart, shut-down),
// and Windows shows the user why: "Copying videos to the PSP". A video cut off mid-copy
// would stay on the stick half written.
class SessionEndBlock {
  public:
    explicit SessionEndBlock(HWND window);
    ~SessionEndBlock();
    SessionEndBlock(const SessionEndBlock&) = delete;
    SessionEndBlock& operator=(const SessionEndBlock&) = delete;

  private:
    HWND window_;
};

// The window's answer to WM_QUERYENDSESSION: TRUE when the session may end now.
LRESULT answerSessionEnd();

}  // namespace velmora::win32
