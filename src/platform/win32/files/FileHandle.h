#pragma once

#include <windows.h>

#include <string>

#include "win32/files/SystemCalls.h"

namespace velmora::win32 {

// An open file, closed when let go.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) {
            sys::CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

// Opens a file (a path as the wide file calls take it) for reading, with flags, shared for
// writing and deleting too: a file that another program holds open still reads, and so does
// a copy that its own writer holds. Check valid().
inline FileHandle openForReading(const std::wstring& path, DWORD flags = 0) {
    return FileHandle(sys::CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, flags, nullptr));
}

}  // namespace velmora::win32
