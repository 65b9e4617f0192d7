#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "FileOperations.h"

namespace velmora::win32 {

// What readBackBeforeNaming gives for a copy that the stick did not give back as it was
// written (see NotReadBack): an error of the program's own (bit 29), which no system error is.
inline constexpr DWORD kNotGivenBack = 0x20000000 | 1;

// Whether the copy at temporary (a full path), its data flushed and its name not yet given,
// gives back the bytes of source (open for reading at sourcePath, size bytes long) at
// read_back::stretchesToReadBack with a fresh draw. The copy is read through a handle of its
// own that bypasses the system's cache (FILE_FLAG_NO_BUFFERING), so its bytes come from the
// device, whatever handle wrote them, and the source's reads wait on the source's own drive;
// progress is told the size as all of it copied before
// each read, and false from it cancels. 0; ERROR_CANCELLED; kNotGivenBack where the copy
// differs, or can't be opened or read that way; or the error that reading the source failed
// with.
DWORD readBackBeforeNaming(HANDLE source, const std::string& sourcePath, std::uint64_t size,
                           const std::wstring& temporary, const FileOperations::Progress& progress);

}  // namespace velmora::win32
