#pragma once

#include <string>

namespace velmora::win32 {

// The path as Windows resolves it: absolute, backslashes only, without "." and ".." parts or
// doubled separators ("E:\\clip.MP4" becomes "E:\clip.MP4"); of any length. The shell's
// calls are stricter about paths than the file calls, so what reaches them goes through
// here. A path Windows can't resolve is given back as it was.
std::wstring fullPath(const std::wstring& path);

}  // namespace velmora::win32
