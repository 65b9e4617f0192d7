#include <windows.h>

#include <atomic>

#include "win32/FileOperations.h"
#include "win32/SystemError.h"
#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

// A name beside the target that no other copy uses at the same time; it never matches *.MP4
// or *.THM, so no list shows a copy that is still growing.
std::wstring temporaryBeside(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    const auto slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    return folder + L"~" + name + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++) + L".velmora-tmp";
}

DWORD CALLBACK reportProgress(LARGE_INTEGER total, LARGE_INTEGER copied, LARGE_INTEGER,
                              LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
    const auto& progress = *static_cast<const FileOperations::Progress*>(data);
    return progress(static_cast<std::uint64_t>(copied.QuadPart),
                    static_cast<std::uint64_t>(total.QuadPart))
               ? PROGRESS_CONTINUE
               : PROGRESS_CANCEL;
}

// Fails with the reading side's reason when the source can't be opened, so that a copy that
// fails afterwards can be blamed on the destination.
void checkReadable(const std::wstring& source, const std::string& from) {
    const HANDLE file = CreateFileW(source.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail("Reading the file", from);
    }
    CloseHandle(file);
}

// Writes the file's data through to the device, so that a stick pulled right after the copy
// holds it whole. A read-only copy (of a read-only source) is made writable for a moment.
bool flushToDevice(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) {
        SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    }
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    bool flushed = false;
    if (file != INVALID_HANDLE_VALUE) {
        flushed = FlushFileBuffers(file) != 0;
        flushed = CloseHandle(file) != 0 && flushed;
    }
    const DWORD error = GetLastError();
    if (readOnly) {
        SetFileAttributesW(path.c_str(), attributes);
    }
    SetLastError(error);
    return flushed;
}

}  // namespace

FileOperations::CopyOutcome FileOperations::copyFile(const std::string& from, const std::string& to,
                                                     const Progress& progress) const {
    const std::wstring source = toWide(from);
    const std::wstring target = toWide(to);
    checkReadable(source, from);

    const std::wstring temporary = temporaryBeside(target);
    auto* callback = progress ? reportProgress : nullptr;
    auto* data = progress ? const_cast<Progress*>(&progress) : nullptr;
    BOOL never = FALSE;
    if (!CopyFileExW(source.c_str(), temporary.c_str(), callback, data, &never,
                     COPY_FILE_FAIL_IF_EXISTS)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        if (error == ERROR_REQUEST_ABORTED) {
            return CopyOutcome::Cancelled;
        }
        fail("Writing the file", to, error);
    }
    if (!flushToDevice(temporary) ||
        !MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        fail("Writing the file", to, error);
    }
    return CopyOutcome::Copied;
}

}  // namespace velmora::win32
