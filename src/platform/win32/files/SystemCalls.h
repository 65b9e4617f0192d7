#pragma once

#include <windows.h>

#include "DriveCalls.h"

// The system calls that may wait on a drive, each telling DriveCalls that the drive answered
// once it returns, whatever it returns: one operation asks a slow drive many things (a folder
// read entry by entry, a copy written block by block), and the drive counts as gone only after
// it has been silent, not after the whole has taken long. The last error is as the call left it.
namespace velmora::win32::sys {

template <typename Result>
Result answered(Result result) {
    const DWORD error = GetLastError();  // thread-local storage may reset it
    DriveCalls::answered();
    SetLastError(error);
    return result;
}

#define VELMORA_ANSWERED_CALL(name)            \
    template <typename... Arguments>           \
    auto name(Arguments... arguments) {        \
        return answered(::name(arguments...)); \
    }
VELMORA_ANSWERED_CALL(CreateFileW)
VELMORA_ANSWERED_CALL(CloseHandle)
VELMORA_ANSWERED_CALL(ReadFile)
VELMORA_ANSWERED_CALL(WriteFile)
VELMORA_ANSWERED_CALL(FlushFileBuffers)
VELMORA_ANSWERED_CALL(GetFileSizeEx)
VELMORA_ANSWERED_CALL(GetFileTime)
VELMORA_ANSWERED_CALL(SetFileTime)
VELMORA_ANSWERED_CALL(GetFileAttributesW)
VELMORA_ANSWERED_CALL(GetFileAttributesExW)
VELMORA_ANSWERED_CALL(DeleteFileW)
VELMORA_ANSWERED_CALL(CreateDirectoryW)
VELMORA_ANSWERED_CALL(GetDiskFreeSpaceExW)
VELMORA_ANSWERED_CALL(GetVolumeInformationW)
VELMORA_ANSWERED_CALL(GetVolumeInformationByHandleW)
VELMORA_ANSWERED_CALL(GetVolumePathNameW)
VELMORA_ANSWERED_CALL(GetDiskFreeSpaceW)
VELMORA_ANSWERED_CALL(GetDriveTypeW)
VELMORA_ANSWERED_CALL(DeviceIoControl)
#undef VELMORA_ANSWERED_CALL

// Spelt out, so that a size given as sizeof converts as it does for the system's own.
inline BOOL GetFileInformationByHandleEx(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, void* info,
                                         DWORD size) {
    return answered(::GetFileInformationByHandleEx(file, kind, info, size));
}
inline BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, void* info,
                                       DWORD size) {
    return answered(::SetFileInformationByHandle(file, kind, info, size));
}

}  // namespace velmora::win32::sys
