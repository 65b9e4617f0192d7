#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace velmora::win32 {

// One file copied by the shell (SHFileOperationW, FO_COPY, FOF_NOCONFIRMATION): its progress
// window with Cancel, owned by owner so that it stays over it, its own error messages, and
// an existing file of the same name replaced. Both paths are full paths that the shell takes
// (see CopyRoute.h). Called on a thread other than the owner's, so that the window keeps
// painting and answering while the shell copies; the shell's windows keep their own loops.
ShellCopyResult runShellCopy(HWND owner, const std::wstring& from, const std::wstring& to);

// Why the shell copy failed, for a failure that the shell returns without having told the
// user: its own codes from before Win32 first, then the system's errors, and an abort that
// comes with no error, which the system makes silently. Nothing for a copy that succeeded or
// that the user cancelled, in the progress window or in one of the shell's error messages.
std::optional<std::string> untoldShellFailure(const ShellCopyResult& result);

// Whether to holds a whole copy of from: it exists with from's size. Some shells report
// success for a copy that failed (Wine on a full or read-only drive), so their word is
// checked with this.
bool arrivedWhole(const std::string& from, const std::string& to);

}  // namespace velmora::win32
