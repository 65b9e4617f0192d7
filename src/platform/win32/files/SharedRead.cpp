#include "win32/files/SharedRead.h"

#include <windows.h>

#include "win32/files/FullPath.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/SystemError.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {

std::optional<std::string> readShared(const std::string& path, std::uint64_t limit,
                                      const std::string& operation) {
    const HANDLE file = sys::CreateFileW(filePath(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fail(operation, path);
    }
    LARGE_INTEGER size{};
    std::string bytes;
    DWORD read = 0;
    bool ok = sys::GetFileSizeEx(file, &size) != FALSE;
    const bool fits = ok && static_cast<std::uint64_t>(size.QuadPart) <= limit;
    if (fits) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        ok = sys::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) !=
             FALSE;
    }
    const DWORD error = GetLastError();
    sys::CloseHandle(file);
    if (!ok) {
        fail(operation, path, error);
    }
    if (!fits) {
        return std::nullopt;
    }
    bytes.resize(read);  // a writer may have cut the file short meanwhile
    return bytes;
}

}  // namespace velmora::win32
