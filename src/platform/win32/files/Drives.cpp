#include "win32/files/Drives.h"

#include <winioctl.h>
#include <winnetwk.h>

#include <cwctype>
#include <optional>

#include "platform/PlatformError.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

std::wstring volumeLabel(const std::wstring& root) {
    wchar_t label[MAX_PATH + 1] = {};
    if (!sys::GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                    nullptr, 0)) {
        return {};
    }
    return label;
}

// Asks the device itself, which answers without reading the medium. A device that can't be
// asked is taken to hold one: reading its label then fails at once if it doesn't, since the
// process asks Windows not to prompt for a disk.
bool hasMedium(const std::wstring& root) {
    const std::wstring device = L"\\\\.\\" + root.substr(0, 2);
    const HANDLE handle = sys::CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return true;
    }
    DWORD returned = 0;
    const bool ready = sys::DeviceIoControl(handle, IOCTL_STORAGE_CHECK_VERIFY2, nullptr, 0,
                                            nullptr, 0, &returned, nullptr) != FALSE;
    const DWORD error = GetLastError();
    sys::CloseHandle(handle);
    return ready || (error != ERROR_NOT_READY && error != ERROR_NO_MEDIA_IN_DRIVE);
}

// What WNetGetConnectionW answers for the drive of root, with the share it names.
DWORD connectionOf(const std::wstring& root, std::wstring& share) {
    wchar_t name[MAX_PATH + 1] = {};
    DWORD length = MAX_PATH + 1;
    const DWORD result = WNetGetConnectionW(root.substr(0, 2).c_str(), name, &length);
    share = name;
    return result;
}

bool connectionDown(const std::wstring& root) {
    std::wstring share;
    return connectionOf(root, share) == ERROR_CONNECTION_UNAVAIL;
}

// The bit of GetLogicalDrives for a root "e:\", or nothing for any other path.
std::optional<DWORD> letterBit(const std::wstring& root) {
    if (root.size() != 3 || root[1] != L':' || root[2] != L'\\') {
        return std::nullopt;
    }
    const wchar_t letter = static_cast<wchar_t>(std::towupper(root[0]));
    if (letter < L'A' || letter > L'Z') {
        return std::nullopt;
    }
    return DWORD{1} << (letter - L'A');
}

std::wstring shareName(const std::wstring& root) {
    std::wstring share;
    // A remembered connection that is not up now still names its share.
    const DWORD result = connectionOf(root, share);
    return result == NO_ERROR || result == ERROR_CONNECTION_UNAVAIL ? share : std::wstring();
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

DriveQueries systemDriveQueries() {
    return {[](const std::wstring& root) { return sys::GetDriveTypeW(root.c_str()); }, hasMedium,
            volumeLabel, shareName};
}

DriveEntry describeDrive(const std::wstring& root, const DriveQueries& ask) {
    switch (ask.type(root)) {
        case DRIVE_REMOTE:
            return driveEntry(root[0], ask.share(root));
        case DRIVE_REMOVABLE:
        case DRIVE_CDROM:
            return driveEntry(root[0], ask.hasMedium(root) ? ask.label(root) : std::wstring());
        case DRIVE_FIXED:
        case DRIVE_RAMDISK:
            return driveEntry(root[0], ask.label(root));
        default:
            return driveEntry(root[0], {});
    }
}

ReadinessQueries systemReadinessQueries(std::function<bool(const std::wstring& root)> isFolder) {
    return {GetLogicalDrives, connectionDown, std::move(isFolder)};
}

bool isDriveReady(const std::wstring& root, const ReadinessQueries& ask) {
    const std::optional<DWORD> bit = letterBit(root);
    return bit && (ask.letters() & *bit) != 0 && !ask.disconnected(root) && ask.isFolder(root);
}

std::vector<DriveEntry> logicalDrives(DriveCalls& calls) {
    std::vector<DriveEntry> drives;
    wchar_t roots[4 * 26 + 1] = {};
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(roots)), roots);
    if (length == 0 || length >= std::size(roots)) {
        return drives;
    }
    for (const wchar_t* root = roots; *root != L'\0'; root += wcslen(root) + 1) {
        try {
            drives.push_back(calls.call(toUtf8(root), [root = std::wstring(root)] {
                return describeDrive(root, systemDriveQueries());
            }));
        } catch (const DriveNotAnswering&) {
            drives.push_back(driveEntry(root[0], {}));
        }
    }
    return drives;
}

}  // namespace velmora::win32
