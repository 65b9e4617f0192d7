#include "win32/Win32Platform.h"

#include <shellapi.h>

#include "app/MainForm.h"
#include "platform/PlatformError.h"
#include "win32/CopyRoute.h"
#include "win32/Drives.h"
#include "win32/FullPath.h"
#include "win32/InputPause.h"
#include "win32/ProgressCopy.h"
#include "win32/SessionEnd.h"
#include "win32/ShellCopy.h"
#include "win32/ShellCopyTarget.h"
#include "win32/TemporaryCopy.h"
#include "win32/TemporaryFiles.h"
#include "win32/WicPicture.h"
#include "win32/Wide.h"

namespace velmora::win32 {
namespace {

// What the user is told when the shell reported success for a copy that did not arrive.
std::string copyFailedText(const std::string& path, const std::string& reason) {
    return "Copying the file failed.\r\n\r\n" + path + "\r\n\r\n" + reason;
}

constexpr const char* kIncompleteCopy =
    "The copy on the drive is incomplete: the drive may be full or write-protected.";

}  // namespace

Win32Platform::Win32Platform() {
    // A drive without a medium then fails at once instead of asking for a disk. What the
    // process was started with stays, and passes on to the programs it starts.
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

int Win32Platform::messageBox(const std::string& text, int flags,
                              const std::optional<std::string>& title) {
    const std::wstring caption = toWide(title.value_or(std::string(MainForm::kCaption)));
    return MessageBoxW(owner_, toWide(text).c_str(), caption.c_str(),
                       static_cast<UINT>(flags) | MB_SETFOREGROUND);
}

std::string Win32Platform::findFirst(const std::string& pattern, int attributeMask) {
    return files_.findFirst(pattern, attributeMask);
}

bool Win32Platform::isFolder(const std::string& path) {
    return files_.isFolder(path);
}

std::int64_t Win32Platform::fileLength(const std::string& path) {
    return files_.fileLength(path);
}

void Win32Platform::deleteFile(const std::string& path) {
    files_.deleteFile(path);
}

void Win32Platform::makeFolder(const std::string& path) {
    files_.makeFolder(path);
}

void Win32Platform::copyFile(const std::string& from, const std::string& to) {
    files_.copyFile(from, to);
}

ShellCopyResult Win32Platform::shellCopy(const std::string& from, const std::string& to) {
    const SessionEndBlock sessionEnd(owner_);
    const std::wstring temporary = temporaryBeside(win32::fullPath(toWide(to)));
    const CopyRoute route =
        chooseCopyRoute(win32::fullPath(toWide(from)), temporary, systemShortPath);
    if (route.byShell) {
        return copyByShell(route.shellSource, temporary, from, to);
    }
    const InputPause pause(owner_);
    try {
        return copyWithProgress(owner_, files_, from, to);
    } catch (const NameTaken&) {
        return {ERROR_ALREADY_EXISTS, false, true};
    }
}

ShellCopyResult Win32Platform::copyByShell(const std::wstring& source,
                                           const std::wstring& temporary, const std::string& from,
                                           const std::string& to) {
    if (const std::optional<std::string> refusal = prepareShellCopy(source, temporary)) {
        messageBox(copyFailedText(from, *refusal), MB_OK | MB_ICONERROR, std::nullopt);
        return {ERROR_FILE_TOO_LARGE, false};
    }
    ShellCopyResult result;
    {
        // The window owns the shell's progress and stays enabled, but takes no input: a second
        // click on the button would start a second copy inside this one.
        const InputPause pause(owner_);
        result = runShellCopy(owner_, source, temporary);
    }
    // The shell writes in place, so the copy takes the target's name only once it is whole
    // and on the stick: a copy cut short (the session made to end, the stick pulled) leaves
    // no half video that the PSP lists.
    if (const std::optional<std::string> reason = untoldShellFailure(result)) {
        messageBox(copyFailedText(from, *reason), MB_OK | MB_ICONERROR, std::nullopt);
    } else if (result.code == 0 && !result.aborted && !arrivedWhole(from, toUtf8(temporary))) {
        result.code = ERROR_WRITE_FAULT;
        messageBox(copyFailedText(to, kIncompleteCopy), MB_OK | MB_ICONERROR, std::nullopt);
    } else if (result.code == 0 && !result.aborted) {
        const DWORD error = placeShellCopy(temporary, win32::fullPath(toWide(to)));
        // A name found taken is the caller's to handle, without a word to the user.
        result = {static_cast<int>(error), false,
                  error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS};
        if (error != ERROR_SUCCESS && !result.nameTaken) {
            messageBox(copyFailedText(to, namingFailureReason(error)), MB_OK | MB_ICONERROR,
                       std::nullopt);
        }
    }
    if (result.code != 0 || result.aborted) {
        removeTemporary(temporary);  // whatever the shell left of it
    }
    return result;
}

std::string Win32Platform::fullPath(const std::string& path) {
    return toUtf8(win32::fullPath(toWide(path)));
}

std::uint64_t Win32Platform::freeBytesAvailable(const std::string& root) {
    return files_.freeBytesAvailable(root);
}

VolumeId Win32Platform::volumeOf(const std::string& path) {
    return files_.volumeOf(path);
}

void Win32Platform::shellOpen(const std::string& address) {
    ShellExecuteW(nullptr, nullptr, toWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Platform::setBusyCursor(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

std::shared_ptr<const Picture> Win32Platform::loadPicture(const std::string& path) {
    return win32::loadPicture(path);
}

double Win32Platform::randomDraw() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    random_.seed(static_cast<std::uint64_t>(now.QuadPart));
    // The top 53 bits make a double in [0, 1) that can never round up to 1.
    return static_cast<double>(random_() >> 11) * 0x1.0p-53;
}

std::vector<std::string> Win32Platform::listFiles(const std::string& folder) {
    return files_.listFiles(folder);
}

std::vector<DriveEntry> Win32Platform::listDrives() {
    return logicalDrives();
}

bool Win32Platform::isDriveReady(const std::string& root) {
    const std::wstring wideRoot = toWide(root);
    // The question may outlive the platform, so it asks with a file layer of its own.
    const ReadinessQueries ask = systemReadinessQueries(
        [files = files_](const std::wstring& r) { return files.isFolder(toUtf8(r)); });
    return isDriveReadyInTime(wideRoot, GetDriveTypeW(wideRoot.c_str()), ask, networkDrives_);
}

std::string Win32Platform::workingFolder() {
    return files_.workingFolder();
}

std::string Win32Platform::nameKey(std::string_view name) {
    const std::wstring wide = toWide(name);
    std::wstring upper(wide.size(), L'\0');
    const int length =
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), static_cast<int>(wide.size()),
                     upper.data(), static_cast<int>(upper.size()));
    return length > 0 ? toUtf8(std::wstring_view(upper).substr(0, static_cast<std::size_t>(length)))
                      : Platform::nameKey(name);
}

}  // namespace velmora::win32
