#pragma once

#include <windows.h>

namespace velmora::win32 {

// Changes made through an open handle, so they reach the very file it opened, whatever name
// it has by then. False where the system refused, its reason in GetLastError().

// No attributes at all make it a plain file.
bool setAttributes(HANDLE file, DWORD attributes);

// The file goes once its last handle is closed. Needs a handle with DELETE access; refused for
// a read-only file.
bool markForDeletion(HANDLE file);

}  // namespace velmora::win32
