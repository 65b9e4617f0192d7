#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "FileOperations.h"
#include "platform/Platform.h"
#include "win32/window/CopyWait.h"

namespace velmora::win32 {

// What the copy of one video ends with: its result, and what the user is to be told, which
// the window's thread shows once the copy is done.
struct VideoCopyOutcome {
    ShellCopyResult result;
    std::optional<std::string> message;
};

// Copies one video as Win32Platform::shellCopy promises, on a thread other than owner's (its
// drive's): by the shell where the shell takes its paths (see CopyRoute.h), with the shell's
// progress window owned by owner, and otherwise by the program's own copy, which throws its
// failure (NameTaken for a name found taken). Tells progress how far the own copy got, and how
// large a shell copy is once the shell is done and its data are being put on the stick; a
// Cancel given through progress stops either as long as the copy has not taken its name.
VideoCopyOutcome copyVideo(HWND owner, const FileOperations& files, const std::string& from,
                           const std::string& to, CopyProgress& progress);

// What the user is told when a copy failed for reason.
std::string copyFailedText(const std::string& path, const std::string& reason);

}  // namespace velmora::win32
