#include "FolderEntries.h"

#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

// Not in the headers of user-mode programs, but in ntdll.dll since Windows NT: the folder read
// that can hand back a single entry.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE folder, HANDLE event, PIO_APC_ROUTINE apc,
                                               PVOID apcContext, PIO_STATUS_BLOCK status,
                                               PVOID entry, ULONG size, FILE_INFORMATION_CLASS kind,
                                               BOOLEAN single, PUNICODE_STRING mask,
                                               BOOLEAN restart);

namespace velmora::win32 {
namespace {

constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
constexpr NTSTATUS kNoSuchFile = static_cast<NTSTATUS>(0xC000000F);
constexpr NTSTATUS kInvalidParameter = static_cast<NTSTATUS>(0xC000000D);

// The folder, without the separator that ends it unless it is a drive's root.
std::wstring folderOf(const std::wstring& pattern) {
    const std::size_t slash = pattern.find_last_of(L'\\');
    std::wstring folder = pattern.substr(0, slash == std::wstring::npos ? 0 : slash + 1);
    if (folder.size() > 1 && folder.back() == L'\\' && folder[folder.size() - 2] != L':') {
        folder.pop_back();
    }
    return folder;
}

FileHandle openFolder(const std::wstring& folder) {
    return FileHandle(sys::CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

DWORD errorOf(NTSTATUS status) {
    switch (status) {
        case kNoMoreFiles:
        case kNoSuchFile:  // nothing matches the pattern
            return ERROR_NO_MORE_FILES;
        case kInvalidParameter:  // a file, opened as a folder
            return ERROR_DIRECTORY;
        default:
            return RtlNtStatusToDosError(status);
    }
}

void copyEntry(const FILE_DIRECTORY_INFORMATION& found, WIN32_FIND_DATAW& entry) {
    const auto fileTime = [](const LARGE_INTEGER& time) {
        return FILETIME{time.LowPart, static_cast<DWORD>(time.HighPart)};
    };
    entry = WIN32_FIND_DATAW{};
    entry.dwFileAttributes = found.FileAttributes;
    entry.ftCreationTime = fileTime(found.CreationTime);
    entry.ftLastAccessTime = fileTime(found.LastAccessTime);
    entry.ftLastWriteTime = fileTime(found.LastWriteTime);
    entry.nFileSizeHigh = static_cast<DWORD>(found.EndOfFile.HighPart);
    entry.nFileSizeLow = found.EndOfFile.LowPart;
    const std::size_t length =
        std::min<std::size_t>(found.FileNameLength / sizeof(wchar_t), MAX_PATH - 1);
    std::memcpy(entry.cFileName, found.FileName, length * sizeof(wchar_t));
}

}  // namespace

FolderEntries::FolderEntries(const std::wstring& pattern)
    : folder_(openFolder(folderOf(pattern))),
      openError_(folder_.valid() ? ERROR_SUCCESS : GetLastError()),
      mask_(pattern.substr(pattern.find_last_of(L'\\') + 1)) {}  // npos + 1: the whole pattern

bool FolderEntries::next(WIN32_FIND_DATAW& entry) {
    if (!folder_.valid()) {
        SetLastError(openError_);
        return false;
    }
    // Room for one entry with the longest name a file system gives.
    alignas(FILE_DIRECTORY_INFORMATION)
        std::byte found[sizeof(FILE_DIRECTORY_INFORMATION) + MAX_PATH * sizeof(wchar_t)];
    UNICODE_STRING mask{static_cast<USHORT>(mask_.size() * sizeof(wchar_t)),
                        static_cast<USHORT>(mask_.size() * sizeof(wchar_t)), mask_.data()};
    IO_STATUS_BLOCK io{};
    const NTSTATUS status = sys::answered(
        NtQueryDirectoryFile(folder_.get(), nullptr, nullptr, nullptr, &io, found, sizeof(found),
                             FileDirectoryInformation, TRUE, first_ ? &mask : nullptr, first_));
    first_ = false;
    if (status < 0) {  // an error, or a warning such as the end
        SetLastError(errorOf(status));
        return false;
    }
    copyEntry(*reinterpret_cast<const FILE_DIRECTORY_INFORMATION*>(found), entry);
    return true;
}

}  // namespace velmora::win32
