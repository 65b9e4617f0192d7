#include "win32/Drives.h"

#include <windows.h>

#include <cwctype>

#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

std::wstring volumeLabel(const std::wstring& root) {
    wchar_t label[MAX_PATH + 1] = {};
    // Without a medium this fails at once: the process asks Windows not to prompt for a disk.
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                               nullptr, 0)) {
        return {};
    }
    return label;
}

}  // namespace

DriveEntry driveEntry(wchar_t letter, const std::wstring& label) {
    const std::wstring drive{static_cast<wchar_t>(std::towlower(letter)), L':'};
    std::wstring text = drive;
    if (!label.empty()) {
        text += L" [" + label + L"]";
    }
    return {toUtf8(text), toUtf8(drive + L"\\")};
}

std::vector<DriveEntry> logicalDrives() {
    std::vector<DriveEntry> drives;
    wchar_t roots[4 * 26 + 1] = {};
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(roots)), roots);
    if (length == 0 || length >= std::size(roots)) {
        return drives;
    }
    for (const wchar_t* root = roots; *root != L'\0'; root += wcslen(root) + 1) {
        drives.push_back(driveEntry(root[0], volumeLabel(root)));
    }
    return drives;
}

}  // namespace velmora::win32
