#include <windows.h>
// needs the types that windows.h declares
#include <shlobj.h>

#include "win32/Wide.h"
#include "win32/Win32Platform.h"

namespace velmora::win32 {

std::optional<std::string> Win32Platform::browseForFolder(const std::string& title) {
    const std::wstring instruction = toWide(title);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW request{};
    request.hwndOwner = owner_;
    request.pidlRoot = nullptr;
    request.pszDisplayName = displayName;
    request.lpszTitle = instruction.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&request);
    if (item == nullptr) {
        return std::nullopt;
    }
    wchar_t path[MAX_PATH] = {};
    const bool hasPath = SHGetPathFromIDListW(item, path) != FALSE;
    CoTaskMemFree(item);
    // An item without a file-system path is taken as a cancel: there is no folder to show.
    if (!hasPath || path[0] == L'\0') {
        return std::nullopt;
    }
    return toUtf8(path);
}

}  // namespace velmora::win32
