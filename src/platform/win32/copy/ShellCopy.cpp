#include "win32/copy/ShellCopy.h"

#include <windows.h>
// needs the types that windows.h declares
#include <shellapi.h>

#include "win32/ComApartment.h"
#include "win32/files/FullPath.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/SystemError.h"

namespace velmora::win32 {
namespace {

// The shell takes lists of paths, each ended by a NUL and the list by one more.
std::wstring pathList(const std::wstring& path) {
    std::wstring list = path;
    list.push_back(L'\0');
    return list;  // c_str() adds the second NUL
}

bool sizeOf(const std::string& path, std::uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!sys::GetFileAttributesExW(filePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

// The shell's own codes from before Win32 lie in this range; one of them says that the user
// cancelled.
constexpr int kFirstShellCode = 0x71;
constexpr int kLastShellCode = 0xB7;
constexpr int kShellCancelled = 0x75;

// The shell's own codes, which overlap the system's without sharing their meaning.
struct ShellCode {
    int code;
    const char* reason;
};
constexpr ShellCode kShellCodes[] = {
    {0x71, "The source and the destination are the same file."},
    {0x78, "Access to the source file is denied."},
    {0x79, "The path of the file is too long."},
    {0x7C, "The path of the file is not valid."},
    {0x81, "The name of the file is too long."},
    {0x82, "The destination is a read-only disc."},
    {0x83, "The destination is a read-only disc."},
    {0x84, "The destination is a read-only disc."},
    {0x85, "The file is too large for the destination drive."},
    {kLastShellCode, "The path of the file is too long."},
    {0x402, "The path of the source or of the destination is not valid."},
    {0x10000, "The destination could not be written."},
};

}  // namespace

ShellCopyResult runShellCopy(HWND owner, const std::wstring& from, const std::wstring& to) {
    const std::wstring source = pathList(from);
    const std::wstring target = pathList(to);
    SHFILEOPSTRUCTW request{};
    request.hwnd = owner;
    request.wFunc = FO_COPY;
    request.pFrom = source.c_str();
    request.pTo = target.c_str();
    request.fFlags = FOF_NOCONFIRMATION;
    useComOnThisThread();  // the shell's copy works in a single-threaded apartment
    const int code = SHFileOperationW(&request);
    return {code, request.fAnyOperationsAborted != FALSE};
}

std::optional<std::string> untoldShellFailure(const ShellCopyResult& result) {
    if (result.code == 0 && result.aborted) {
        return "The system stopped the copy before it was done, without a reason.";
    }
    if (result.code == 0 || result.aborted || result.code == kShellCancelled ||
        result.code == ERROR_CANCELLED) {
        return std::nullopt;
    }
    for (const ShellCode& known : kShellCodes) {
        if (known.code == result.code) {
            return known.reason;
        }
    }
    if (result.code >= kFirstShellCode && result.code <= kLastShellCode) {
        return "The shell refused the copy (its code " + std::to_string(result.code) + ").";
    }
    return systemReason(static_cast<unsigned long>(result.code));
}

bool arrivedWhole(const std::string& from, const std::string& to) {
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    return sizeOf(from, sourceSize) && sizeOf(to, targetSize) && sourceSize == targetSize;
}

}  // namespace velmora::win32
