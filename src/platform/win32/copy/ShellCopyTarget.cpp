#include "win32/copy/ShellCopyTarget.h"

#include "win32/copy/CopyReadBack.h"
#include "win32/copy/FileSizeLimit.h"
#include "win32/copy/TemporaryCopy.h"
#include "win32/copy/TemporaryFiles.h"
#include "win32/files/FileHandle.h"
#include "win32/files/FullPath.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

std::wstring folderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

// 0 where the size can't be read: the shell then tells why it can't copy the file.
std::uint64_t sizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!sys::GetFileAttributesExW(withLongPrefix(path).c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

std::optional<std::string> prepareShellCopy(const std::wstring& source,
                                            const std::wstring& temporary) {
    const std::wstring folder = folderOf(temporary);
    if (std::optional<std::string> refusal = fileSizeRefusal(folder, sizeOf(source))) {
        return refusal;
    }
    return std::nullopt;
}

DWORD placeShellCopy(const std::wstring& source, const std::wstring& temporary,
                     const std::wstring& target, const FileOperations::Progress& progress) {
    TemporaryCopy copy = TemporaryCopy::open(temporary);
    LARGE_INTEGER size{};
    if (!copy.valid() || !sys::GetFileSizeEx(copy.get(), &size)) {
        const DWORD error = GetLastError();
        removeTemporary(temporary);
        return error;
    }
    const auto whole = static_cast<std::uint64_t>(size.QuadPart);
    if (!progress(whole, whole)) {
        return ERROR_CANCELLED;
    }
    if (const DWORD error = copy.flush(); error != ERROR_SUCCESS) {
        return error;
    }
    // A cancel given while the data went out still counts: the copy has no name yet.
    if (!progress(whole, whole)) {
        return ERROR_CANCELLED;
    }
    const FileHandle original = openForReading(withLongPrefix(source));
    if (!original.valid()) {
        return GetLastError();
    }
    if (const DWORD error =
            readBackBeforeNaming(original.get(), toUtf8(source), whole, temporary, progress);
        error != ERROR_SUCCESS) {
        return error;
    }
    if (!progress(whole, whole)) {
        return ERROR_CANCELLED;
    }
    if (const DWORD error = copy.takeName(target); error != ERROR_SUCCESS) {
        return error;
    }
    // The window may have given up on a drive that held the rename: it has said the video was
    // not copied.
    return !progress(whole, whole) && copy.takeNameBack() ? ERROR_CANCELLED : ERROR_SUCCESS;
}

}  // namespace velmora::win32
