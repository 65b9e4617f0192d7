#pragma once

#include <windows.h>

namespace velmora::win32 {

// While it lives, the keyboard and mouse input that this thread receives for a window or its
// controls is dropped, and so are clicks posted to its buttons; what was queued meanwhile is
// dropped when it ends, so that nothing given during the pause runs afterwards. The window
// then comes back to the front. It stays enabled throughout: Windows hands the activation
// back to an enabled owner when its owned window (the copy's progress) closes, but gives it
// to another program when the owner is disabled.
class InputPause {
  public:
    explicit InputPause(HWND window);
    ~InputPause();
    InputPause(const InputPause&) = delete;
    InputPause& operator=(const InputPause&) = delete;

  private:
    HWND window_;
    HHOOK hook_;
};

}  // namespace velmora::win32
