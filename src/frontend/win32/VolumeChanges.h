#pragma once

#include <windows.h>

#include "app/MainForm.h"

namespace velmora::win32 {

// Volumes arriving and going, as the system announces them to every top-level window: a stick
// plugged in or pulled, a disc put in or taken out, a network drive connected. A burst of
// announcements, such as a stick with several partitions, leads to one reading of the
// drives, a moment after the last of them.
class VolumeChanges {
  public:
    explicit VolumeChanges(MainForm& form) : form_(form) {}
    VolumeChanges(const VolumeChanges&) = delete;
    VolumeChanges& operator=(const VolumeChanges&) = delete;

    // Takes the window's WM_DEVICECHANGE; what the window answers is the system's default.
    void deviceChange(HWND window, WPARAM event, LPARAM data);

  private:
    static void CALLBACK settled(HWND window, UINT message, UINT_PTR id, DWORD time);

    MainForm& form_;
};

}  // namespace velmora::win32
