#include "FileOperations.h"

#include <windows.h>

#include "platform/Platform.h"
#include "win32/copy/TemporaryFiles.h"
#include "win32/files/FolderEntries.h"
#include "win32/files/FullPath.h"
#include "win32/files/SharedRead.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/SystemError.h"
#include "win32/text/Wide.h"

namespace velmora {
using namespace win32;  // the wide strings and system errors of this platform
namespace {

constexpr DWORD kUnlisted = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool isDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Errors that only say that nothing is there to be found, including a path that runs
// through a file (Windows says the folder name is not one, Wine that the name is invalid)
// and a name no file can have.
bool meansNothingFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_NO_MORE_FILES || error == ERROR_DIRECTORY || error == ERROR_INVALID_NAME;
}

bool attributesOf(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return sys::GetFileAttributesExW(filePath(path).c_str(), GetFileExInfoStandard, &data) != 0;
}

std::uint64_t sizeOf(const WIN32_FILE_ATTRIBUTE_DATA& data) {
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

std::string FileOperations::resolve(const std::string& path) const {
    return path;
}

std::string FileOperations::findFirst(const std::string& pattern, int attributeMask) const {
    FolderEntries entries(filePath(pattern));
    const bool foldersToo = (attributeMask & lookup::kFoldersToo) != 0;
    for (WIN32_FIND_DATAW entry{}; entries.next(entry);) {
        const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if ((entry.dwFileAttributes & kUnlisted) == 0 && !isDotEntry(entry.cFileName) &&
            (!folder || foldersToo)) {
            return toUtf8(entry.cFileName);
        }
    }
    const DWORD error = GetLastError();
    if (meansNothingFound(error)) {
        return {};
    }
    fail("Looking for", pattern, error);
}

bool FileOperations::isFolder(const std::string& path) const {
    if (path.empty()) {
        return false;
    }
    const DWORD attributes = sys::GetFileAttributesW(filePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::int64_t FileOperations::fileLength(const std::string& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!attributesOf(path, data)) {
        fail("Reading the size of the file", path);
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        fail("Reading the size of the file", path, ERROR_ACCESS_DENIED);
    }
    return static_cast<std::int64_t>(sizeOf(data));
}

void FileOperations::deleteFile(const std::string& path) const {
    if (!sys::DeleteFileW(filePath(path).c_str())) {
        fail("Deleting the file", path);
    }
}

void FileOperations::makeFolder(const std::string& path) const {
    if (!sys::CreateDirectoryW(filePath(path).c_str(), nullptr)) {
        fail("Making the folder", path);
    }
}

std::optional<std::string> FileOperations::readWhole(const std::string& path,
                                                     std::uint64_t limit) const {
    return readShared(path, limit, "Reading the file");
}

void FileOperations::removeLeftovers(const std::string& folder) const {
    removeLeftoverTemporaries(win32::fullPath(toWide(folder)));
}

std::uint64_t FileOperations::freeBytesAvailable(const std::string& root) const {
    ULARGE_INTEGER available{};
    if (!sys::GetDiskFreeSpaceExW(filePath(root).c_str(), &available, nullptr, nullptr)) {
        fail("Measuring the free space of", root);
    }
    return available.QuadPart;
}

std::vector<std::string> FileOperations::listFiles(const std::string& folder) const {
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') {
        pattern.push_back('\\');
    }
    pattern.push_back('*');
    std::vector<std::string> names;
    FolderEntries entries(filePath(pattern));
    for (WIN32_FIND_DATAW entry{}; entries.next(entry);) {
        if ((entry.dwFileAttributes & (kUnlisted | FILE_ATTRIBUTE_DIRECTORY)) == 0) {
            names.push_back(toUtf8(entry.cFileName));
        }
    }
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        fail("Reading the folder", folder);
    }
    return names;
}

std::string FileOperations::workingFolder() const {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size) {
        fail("Reading the working folder", ".");
    }
    folder.resize(length);
    return toUtf8(folder);
}

}  // namespace velmora
