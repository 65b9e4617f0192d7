#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "FileOperations.h"

namespace velmora::win32 {

// The steps of a shell copy around the shell's own (see ShellCopy.h), which writes in place:
// the video grows under a temporary name beside its target (full paths both).

// Before the shell starts: why the source can't be copied to the target's drive at all, if
// it can't (too large for its file system).
std::optional<std::string> prepareShellCopy(const std::wstring& source,
                                            const std::wstring& temporary);

// Once the shell has copied source whole: the temporary's data flushed and read back from the
// stick (see readBackBeforeNaming), then the target's name given to it only where no file has
// it, and flushed too. Tells progress the copy's size as all of it copied before the flush and
// again after it and during the read-back, the window showing a full bar while the data go out
// and come back; false from it cancels. 0, ERROR_CANCELLED, kNotGivenBack, or the error (see
// namingFailureReason); the temporary is then gone.
DWORD placeShellCopy(const std::wstring& source, const std::wstring& temporary,
                     const std::wstring& target, const FileOperations::Progress& progress);

}  // namespace velmora::win32
