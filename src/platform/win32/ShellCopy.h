#pragma once

#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace velmora::win32 {

// One file copied by the shell (SHFileOperationW, FO_COPY, FOF_NOCONFIRMATION): its progress
// window with Cancel, owned by owner so that it stays over it, its own error messages, and
// an existing file of the same name replaced. Both paths reach the shell as full paths.
ShellCopyResult runShellCopy(HWND owner, const std::string& from, const std::string& to);

// Whether to holds a whole copy of from: it exists with from's size. Some shells report
// success for a copy that failed (Wine on a full or read-only drive), so their word is
// checked with this.
bool arrivedWhole(const std::string& from, const std::string& to);

}  // namespace velmora::win32
