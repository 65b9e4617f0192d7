#include "win32/copy/CopyRoute.h"

#include <windows.h>

#include "win32/files/FullPath.h"

namespace velmora::win32 {
namespace {

constexpr std::size_t kLongestShellPath = MAX_PATH - 1;

}  // namespace

CopyRoute chooseCopyRoute(const std::wstring& source, const std::wstring& target,
                          const ShortPathQuery& shortPath) {
    if (target.size() > kLongestShellPath) {
        return {};
    }
    if (source.size() <= kLongestShellPath) {
        return {true, source};
    }
    const std::wstring shortSource = withoutLongPrefix(shortPath(withLongPrefix(source)));
    if (shortSource.empty() || shortSource.size() > kLongestShellPath) {
        return {};
    }
    return {true, shortSource};
}

std::wstring systemShortPath(const std::wstring& path) {
    std::wstring shortPath(GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
    const DWORD length =
        GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (length == 0 || length >= shortPath.size()) {
        return {};
    }
    shortPath.resize(length);
    return shortPath;
}

}  // namespace velmora::win32
