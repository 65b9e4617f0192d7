#include "win32/copy/TemporaryCopy.h"

#include <algorithm>
#include <vector>

#include "win32/files/FileInformation.h"
#include "win32/files/FullPath.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/SystemError.h"

namespace velmora::win32 {
namespace {

// Renaming through the handle needs the right to delete; writing, the flush.
constexpr DWORD kAccess = GENERIC_WRITE | DELETE;

DWORD lastErrorUnless(BOOL succeeded) {
    return succeeded ? ERROR_SUCCESS : GetLastError();
}

// Through the handle, so the name goes to this very file wherever it is, and only where no
// file has the name already.
DWORD renameWithoutReplacing(HANDLE file, const std::wstring& target) {
    const std::wstring name = nativePath(target);
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(name.begin(), name.end(), rename->FileName);
    return lastErrorUnless(sys::SetFileInformationByHandle(file, FileRenameInfo, rename,
                                                           static_cast<DWORD>(buffer.size())));
}

}  // namespace

TemporaryCopy TemporaryCopy::create(const std::wstring& path) {
    // Read too by the read-back, through a handle of its own.
    return TemporaryCopy(sys::CreateFileW(withLongPrefix(path).c_str(), kAccess, FILE_SHARE_READ,
                                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
}

TemporaryCopy TemporaryCopy::open(const std::wstring& path) {
    const std::wstring file = withLongPrefix(path);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    return TemporaryCopy(sys::CreateFileW(file.c_str(), kAccess, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
}

TemporaryCopy::~TemporaryCopy() {
    if (!valid()) {
        return;
    }
    if (!named_) {
        markForDeletion(handle_);
    }
    sys::CloseHandle(handle_);
}

DWORD TemporaryCopy::flush() {
    return lastErrorUnless(sys::FlushFileBuffers(handle_));
}

DWORD TemporaryCopy::takeName(const std::wstring& target) {
    DWORD error = lastErrorUnless(setAttributes(handle_, FILE_ATTRIBUTE_NORMAL));
    if (error == ERROR_SUCCESS) {
        error = renameWithoutReplacing(handle_, target);
    }
    if (error == ERROR_SUCCESS) {
        error = flush();  // the new folder entry
    }
    named_ = error == ERROR_SUCCESS;
    return error;
}

bool TemporaryCopy::takeNameBack() {
    named_ = !markForDeletion(handle_);
    return !named_;
}

std::string namingFailureReason(DWORD error) {
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        return "A file of this name is on the drive already. It was left as it is, and this "
               "copy was not made.";
    }
    return systemReason(error);
}

}  // namespace velmora::win32
