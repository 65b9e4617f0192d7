#include "win32/text/SystemError.h"

#include <windows.h>

#include "platform/PlatformError.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {

std::string systemReason(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return "Windows error " + std::to_string(error);
    }
    std::wstring reason(text, length);
    LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ')) {
        reason.pop_back();
    }
    return toUtf8(reason);
}

void fail(const std::string& operation, const std::string& path) {
    fail(operation, path, GetLastError());
}

void fail(const std::string& operation, const std::string& path, unsigned long error) {
    throw PlatformError(operation, path, systemReason(error));
}

}  // namespace velmora::win32
