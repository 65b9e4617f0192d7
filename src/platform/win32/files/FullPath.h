#pragma once

#include <string>

namespace velmora::win32 {

// The path as Windows resolves it: absolute, backslashes only, without "." and ".." parts or
// doubled separators ("E:\\clip.MP4" becomes "E:\clip.MP4"); of any length. The shell's
// calls are stricter about paths than the file calls, so what reaches them goes through
// here. A path Windows can't resolve is given back as it was.
std::wstring fullPath(const std::wstring& path);

// The longest path that the file calls take without the long-path prefix. Files may have up
// to MAX_PATH - 1 characters, but a folder must leave room for an 8.3 name inside it
// (MAX_PATH - 12 with its NUL); one limit for both keeps every call on the same side of it.
inline constexpr std::size_t kLongestPlainPath = 260 - 12 - 1;

// A full path as every wide file call takes it at any depth: from kLongestPlainPath + 1
// characters on with "\\?\" in front ("\\?\UNC\server\share\..." for a network path).
// Shorter paths, paths that have the prefix already and device paths stay as they are.
std::wstring withLongPrefix(const std::wstring& full);
// The plain form of a path that may carry the long-path prefix.
std::wstring withoutLongPrefix(const std::wstring& path);

// A full path, which may carry the long-path prefix, in the form of the system's native layer:
// "\??\C:\..." or "\??\UNC\server\share\...". A file renamed through its handle takes its new
// name in this form on every version: Windows 7 passes the name on as it is, later versions
// and Wine convert only a path that isn't in this form already.
std::wstring nativePath(const std::wstring& full);

// A UTF-8 path made ready for a wide file call (CreateFileW, GetFileAttributesExW, ...): full,
// and prefixed when it is long. Windows 7 and 8.1, and later systems without the long-path
// policy, refuse a plain path of MAX_PATH characters or more.
std::wstring filePath(const std::string& path);

}  // namespace velmora::win32
