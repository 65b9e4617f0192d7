#include <windows.h>

#include "FileOperations.h"
#include "win32/files/FullPath.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/SystemError.h"

namespace velmora {
namespace sys = win32::sys;

std::uint64_t FileOperations::volumeOf(const std::string& path) const {
    // Opened without FILE_FLAG_OPEN_REPARSE_POINT, a junction or link is followed, so a folder
    // that leads to another volume gives that one's serial number.
    const HANDLE handle =
        sys::CreateFileW(win32::filePath(path).c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        win32::fail("Reading the drive of", path);
    }
    // Only the volume's serial number: a query of the file's whole information also finds its
    // name, which under Wine asks the drive about every folder on the way to it.
    DWORD serial = 0;
    const bool read = sys::GetVolumeInformationByHandleW(handle, nullptr, 0, &serial, nullptr,
                                                         nullptr, nullptr, 0) != 0;
    const DWORD error = GetLastError();
    sys::CloseHandle(handle);
    if (!read) {
        win32::fail("Reading the drive of", path, error);
    }
    return serial;
}

}  // namespace velmora
