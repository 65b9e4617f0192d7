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

// A UTF-8 path made ready for a wide file call (CreateFileW, FindFirstFileExW, ...): full,
// and prefixed when it is long. Windows 7 and 8.1, and later systems without the long-path
// policy, refuse a plain path of MAX_PATH characters or more.
std::wstring filePath(const std::string& path);

// A full path beside target that no other copy uses at the same time, where a copy grows until
// it is whole: it never matches *.MP4 or *.THM, so no list shows it, and the PSP never sees a
// half-written video under its name.
std::wstring temporaryBeside(const std::wstring& target);

}  // namespace velmora::win32
