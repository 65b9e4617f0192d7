#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "DriveCalls.h"
#include "platform/Platform.h"

namespace velmora::win32 {

// How the drive list shows a drive: its letter in lower case, a colon, and the volume label
// (or a network drive's share) in square brackets when it has one ("e: [PSP]"); its root is
// "e:\".
DriveEntry driveEntry(wchar_t letter, const std::wstring& label);

// What the drive list asks Windows about a drive, each by its root ("e:\"). The list asks
// the type first and only what that type can answer at once: a network drive's share comes
// from the local cache, and a volume label is read only from a local volume that holds a
// medium, so a server that doesn't answer or a disc that must spin up never holds it back.
struct DriveQueries {
    std::function<UINT(const std::wstring& root)> type;
    std::function<bool(const std::wstring& root)> hasMedium;
    std::function<std::wstring(const std::wstring& root)> label;
    std::function<std::wstring(const std::wstring& root)> share;
};

// The queries answered by the system.
DriveQueries systemDriveQueries();

DriveEntry describeDrive(const std::wstring& root, const DriveQueries& ask);

// What the readiness of a drive asks Windows, each by its root ("e:\"): the drive letters in
// use (GetLogicalDrives), whether a network drive's connection is down now, and whether the
// root can be read as a folder.
struct ReadinessQueries {
    std::function<DWORD()> letters;
    std::function<bool(const std::wstring& root)> disconnected;
    std::function<bool(const std::wstring& root)> isFolder;
};

// GetLogicalDrives and WNetGetConnectionW, which answer from the local system.
ReadinessQueries systemReadinessQueries(std::function<bool(const std::wstring& root)> isFolder);

// Whether root is the root of a drive in use that can be read now. A network drive whose
// connection is down is not ready, and no file call touches it: reading it would start a
// reconnection that waits out the network's time-outs, tens of seconds.
bool isDriveReady(const std::wstring& root, const ReadinessQueries& ask);

// The machine's drives in letter order, each described through calls on its own drive: one
// that doesn't answer is listed without its label.
std::vector<DriveEntry> logicalDrives(DriveCalls& calls);

}  // namespace velmora::win32
