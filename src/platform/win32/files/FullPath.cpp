#include "win32/files/FullPath.h"

#include <windows.h>

#include <string_view>

#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kUncPrefix = L"\\\\";
constexpr std::wstring_view kNativePrefix = L"\\??\\";

}  // namespace

std::wstring fullPath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return path;
        }
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);  // the length needed, its NUL included
    }
}

std::wstring withLongPrefix(const std::wstring& full) {
    if (full.size() <= kLongestPlainPath || full.starts_with(kLongPrefix) ||
        full.starts_with(kDevicePrefix)) {
        return full;
    }
    if (full.starts_with(kUncPrefix)) {
        return std::wstring(kLongUncPrefix) + full.substr(kUncPrefix.size());
    }
    return std::wstring(kLongPrefix) + full;
}

std::wstring withoutLongPrefix(const std::wstring& path) {
    if (path.starts_with(kLongUncPrefix)) {
        return std::wstring(kUncPrefix) + path.substr(kLongUncPrefix.size());
    }
    if (path.starts_with(kLongPrefix)) {
        return path.substr(kLongPrefix.size());
    }
    return path;
}

std::wstring nativePath(const std::wstring& full) {
    const std::wstring plain = withoutLongPrefix(full);
    if (plain.starts_with(kUncPrefix)) {
        return std::wstring(kNativePrefix) + L"UNC\\" + plain.substr(kUncPrefix.size());
    }
    return std::wstring(kNativePrefix) + plain;
}

std::wstring filePath(const std::string& path) {
    return withLongPrefix(fullPath(toWide(path)));
}

}  // namespace velmora::win32
