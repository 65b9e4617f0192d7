#include <windows.h>

#include <algorithm>
#include <vector>

#include "FileOperations.h"
#include "win32/FullPath.h"
#include "win32/SystemError.h"
#include "win32/Wide.h"

namespace velmora {
using namespace win32;  // the wide strings and system errors of this platform
namespace {

// Large blocks keep the copy fast while the memory used stays small and fixed.
constexpr DWORD kBlockSize = 8u << 20;

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

// A failed step of the copy: the system's error and whether the source was being read.
struct CopyFailure {
    DWORD error;
    bool atSource;
};

std::uint64_t sizeOf(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        throw CopyFailure{GetLastError(), true};
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

// Copies the whole content, then the modification time; false when the user cancelled.
bool copyContent(HANDLE from, HANDLE to, const FileOperations::Progress& progress) {
    const std::uint64_t total = sizeOf(from);
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(total, kBlockSize)) +
                             1);
    std::uint64_t copied = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            throw CopyFailure{GetLastError(), true};
        }
        if (read == 0) {
            break;
        }
        DWORD written = 0;
        if (!WriteFile(to, buffer.data(), read, &written, nullptr) || written != read) {
            throw CopyFailure{GetLastError(), false};
        }
        copied += read;
        if (progress && !progress(copied, total)) {
            return false;
        }
    }
    FILETIME modified{};
    if (!GetFileTime(from, nullptr, nullptr, &modified) ||
        !SetFileTime(to, nullptr, nullptr, &modified)) {
        throw CopyFailure{GetLastError(), false};
    }
    return true;
}

}  // namespace

FileOperations::CopyOutcome FileOperations::copyFile(const std::string& from, const std::string& to,
                                                     const Progress& progress) const {
    const std::wstring fullTarget = fullPath(toWide(to));
    const std::wstring target = withLongPrefix(fullTarget);
    // Shared for deleting too, as the preview reads it: a thumbnail that another program
    // holds open that way still copies.
    FileHandle source(CreateFileW(filePath(from).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.valid()) {
        fail("Reading the file", from);
    }
    // The copy grows under a hidden name and takes the target's name only once it is
    // complete and on the device, so no half-written file ever carries that name.
    const std::wstring temporary = withLongPrefix(temporaryBeside(fullTarget));
    FileHandle copy(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!copy.valid()) {
        fail("Writing the file", to);
    }
    try {
        if (!copyContent(source.get(), copy.get(), progress)) {
            copy.close();
            DeleteFileW(temporary.c_str());
            return CopyOutcome::Cancelled;
        }
        // Flushed so that a stick pulled right after the copy holds it whole.
        if (!FlushFileBuffers(copy.get()) || !copy.close() ||
            !SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL) ||
            !MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            throw CopyFailure{GetLastError(), false};
        }
    } catch (const CopyFailure& failure) {
        copy.close();
        DeleteFileW(temporary.c_str());
        fail(failure.atSource ? "Reading the file" : "Writing the file",
             failure.atSource ? from : to, failure.error);
    }
    return CopyOutcome::Copied;
}

}  // namespace velmora
