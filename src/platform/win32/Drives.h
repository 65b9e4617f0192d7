#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace velmora::win32 {

// How the drive list shows a drive: its letter in lower case, a colon, and the volume label
// in square brackets when it has one ("e: [PSP]"); its root is "e:\".
DriveEntry driveEntry(wchar_t letter, const std::wstring& label);

// The machine's drives in letter order. A drive without a medium is listed without a label.
std::vector<DriveEntry> logicalDrives();

}  // namespace velmora::win32
