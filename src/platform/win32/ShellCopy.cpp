#include "win32/ShellCopy.h"

#include <windows.h>
// needs the types that windows.h declares
#include <shellapi.h>

#include "win32/FullPath.h"
#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

// The shell takes lists of full paths, each ended by a NUL and the list by one more.
std::wstring pathList(const std::string& path) {
    std::wstring list = fullPath(toWide(path));
    list.push_back(L'\0');
    return list;  // c_str() adds the second NUL
}

bool sizeOf(const std::string& path, std::uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(toWide(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

}  // namespace

ShellCopyResult runShellCopy(HWND owner, const std::string& from, const std::string& to) {
    const std::wstring source = pathList(from);
    const std::wstring target = pathList(to);
    SHFILEOPSTRUCTW request{};
    request.hwnd = owner;
    request.wFunc = FO_COPY;
    request.pFrom = source.c_str();
    request.pTo = target.c_str();
    request.fFlags = FOF_NOCONFIRMATION;
    const int code = SHFileOperationW(&request);
    return {code, request.fAnyOperationsAborted != FALSE};
}

bool arrivedWhole(const std::string& from, const std::string& to) {
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    return sizeOf(from, sourceSize) && sizeOf(to, targetSize) && sourceSize == targetSize;
}

}  // namespace velmora::win32
