#pragma once

#include <windows.h>

#include <string>

#include "FileOperations.h"
#include "platform/Platform.h"

namespace velmora::win32 {

// The program's own copy of one video, for the paths that the shell can't take: the
// platform's file copy (a hidden temporary file that takes the target's name only once it is
// whole on the device) with a progress window of the system's (IProgressDialog) that shows
// the file, the time left and Cancel, as the shell's does, once the copy has lasted 200 ms.
// Cancelled: the result says so and nothing is left. Failed: throws PlatformError, nothing is
// left, and the caller tells the user. The copy runs on a thread of its own while the calling
// thread, the window's, answers its messages throughout. Cancel closes the progress window
// within a tenth of a second, even while the copy waits for the device to take the last of
// it; the copy stops at its next step, so a copy that took its name by then stays and counts
// as copied.
ShellCopyResult copyWithProgress(HWND owner, const FileOperations& files, const std::string& from,
                                 const std::string& to);

}  // namespace velmora::win32
