#include "win32/files/DriveRoot.h"

#include <cwctype>

#include "win32/files/FullPath.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

constexpr std::wstring_view kUncPrefix = L"\\\\";

// "\\server\share\" of a network path, with its final separator.
std::wstring shareRoot(const std::wstring& path) {
    std::size_t end = kUncPrefix.size();
    for (int part = 0; part < 2; ++part) {
        end = path.find(L'\\', end);
        if (end == std::wstring::npos) {
            return path + L'\\';
        }
        ++end;
    }
    return path.substr(0, end);
}

}  // namespace

std::string driveRootOf(const std::string& path) {
    const std::wstring full = withoutLongPrefix(fullPath(toWide(path)));
    if (full.size() >= 2 && full[1] == L':') {
        return toUtf8(std::wstring{static_cast<wchar_t>(std::towlower(full[0])), L':', L'\\'});
    }
    if (full.starts_with(kUncPrefix)) {
        return toUtf8(shareRoot(full));
    }
    return path;
}

}  // namespace velmora::win32
