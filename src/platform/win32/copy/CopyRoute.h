#pragma once

#include <functional>
#include <string>

namespace velmora::win32 {

// How one video is copied. The shell copy takes plain paths of fewer than MAX_PATH
// characters only (it refuses the long-path prefix, whatever the system's long-path policy);
// a longer source goes to it by its short (8.3) form where its volume keeps short names, and
// otherwise to the program's own copy, which takes paths of any length.
struct CopyRoute {
    bool byShell = false;
    std::wstring shellSource;  // the source as the shell gets it
};

// The short form of a full path, which may carry the long-path prefix; empty when it has
// none. A volume without short names gives back the long parts.
using ShortPathQuery = std::function<std::wstring(const std::wstring& path)>;

// Both paths are full (see fullPath).
CopyRoute chooseCopyRoute(const std::wstring& source, const std::wstring& target,
                          const ShortPathQuery& shortPath);

// GetShortPathNameW.
std::wstring systemShortPath(const std::wstring& path);

}  // namespace velmora::win32
