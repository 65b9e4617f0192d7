#include <windows.h>
// needs the types that windows.h declares
#include <shlobj.h>

#include "win32/Win32Platform.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

constexpr const char* kNoFolderPath =
    "The chosen item is not a folder on a drive, so its videos can't be listed. Choose a "
    "folder on a drive or a network share.";

// Selects the start folder, given as data, once the browser has its tree; an empty one leaves
// the tree at its top.
int CALLBACK selectStartFolder(HWND browser, UINT message, LPARAM, LPARAM startFolder) {
    const auto* folder = reinterpret_cast<const wchar_t*>(startFolder);
    if (message == BFFM_INITIALIZED && folder[0] != L'\0') {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, startFolder);
    }
    return 0;
}

}  // namespace

std::optional<std::string> Win32Platform::browseForFolder(const std::string& title,
                                                          const std::string& startFolder) {
    const std::wstring instruction = toWide(title);
    const std::wstring start = toWide(startFolder);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW request{};
    request.hwndOwner = owner_;
    request.pidlRoot = nullptr;
    request.pszDisplayName = displayName;
    request.lpszTitle = instruction.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    request.lpfn = selectStartFolder;
    request.lParam = reinterpret_cast<LPARAM>(start.c_str());
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&request);
    if (item == nullptr) {
        return std::nullopt;
    }
    // Asked for at any length: the browser offers folders deeper than MAX_PATH.
    PWSTR path = nullptr;
    const HRESULT result = SHGetNameFromIDList(item, SIGDN_FILESYSPATH, &path);
    CoTaskMemFree(item);
    if (FAILED(result) || path == nullptr || path[0] == L'\0') {
        CoTaskMemFree(path);
        messageBox(kNoFolderPath, MB_OK | MB_ICONEXCLAMATION, std::nullopt);
        return std::nullopt;
    }
    std::string folder = toUtf8(path);
    CoTaskMemFree(path);
    return folder;
}

}  // namespace velmora::win32
