#pragma once

#include <windows.h>

namespace velmora::win32 {

// While it lives, the keyboard and mouse input that this thread receives for a window or its
// controls is dropped. The window stays enabled: Windows hands the activation back to an
// enabled owner when its owned window (the shell's progress) closes, but gives it to another
// program when the owner is disabled.
class InputPause {
  public:
    explicit InputPause(HWND window);
    ~InputPause();
    InputPause(const InputPause&) = delete;
    InputPause& operator=(const InputPause&) = delete;

  private:
    HHOOK hook_;
};

}  // namespace velmora::win32
