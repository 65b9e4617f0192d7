#include "win32/Win32Platform.h"

#include <shellapi.h>

#include "WorkAside.h"
#include "app/MainForm.h"
#include "platform/PlatformError.h"
#include "win32/copy/VideoCopy.h"
#include "win32/files/DriveRoot.h"
#include "win32/files/Drives.h"
#include "win32/files/FullPath.h"
#include "win32/text/Wide.h"
#include "win32/window/CopyWait.h"
#include "win32/window/SessionEnd.h"

namespace velmora::win32 {

Win32Platform::Win32Platform(std::chrono::milliseconds silence, PictureDecoder decode)
    : OffWindowPlatform(std::make_unique<MessagePumpWait>(), driveRootOf, silence),
      pump_(static_cast<MessagePumpWait&>(answeringWait())),
      decode_(std::move(decode)) {
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

ShellCopyResult Win32Platform::shellCopy(const std::string& from, const std::string& to,
                                         const CopyStep& step) {
    const SessionEndBlock sessionEnd(owner_);
    auto progress = std::make_shared<CopyProgress>();
    auto outcome = std::make_shared<VideoCopyOutcome>();
    // The copy owns all it touches: it may outlive this call.
    const std::shared_ptr<DriveCalls::Running> copy = offWindow().calls().start(
        to, [owner = owner_, files = offWindow().files(), from, to, progress, outcome] {
            *outcome = copyVideo(owner, files, from, to, *progress);
        });
    if (!waitForCopy(owner_, *copy, *progress, copyProgressText(toWide(from), toWide(to), step))) {
        const std::string video = from.substr(from.find_last_of("\\/") + 1);
        messageBox(copyFailedText(from, copyLeftBehindReason(*copy, video)), MB_OK | MB_ICONERROR,
                   std::nullopt);
        return {ERROR_TIMEOUT, false, false, copy->waitedOnDrive()};
    }
    try {
        copy->rethrowFailure();
    } catch (const NameTaken&) {
        return {ERROR_ALREADY_EXISTS, false, true};
    }
    if (outcome->message) {
        messageBox(*outcome->message, MB_OK | MB_ICONERROR, std::nullopt);
    }
    return outcome->result;
}

bool Win32Platform::showProgress(DriveCalls::Running& work, CopyProgress& progress,
                                 const std::string& text) {
    const SessionEndBlock sessionEnd(owner_);
    return waitForCopy(owner_, work, progress,
                       {L"Copying", toWide(text), {}, true, std::nullopt});
}

std::string Win32Platform::fullPath(const std::string& path) {
    return toUtf8(win32::fullPath(toWide(path)));
}

void Win32Platform::shellOpen(const std::string& address) {
    ShellExecuteW(nullptr, nullptr, toWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Platform::setBusyCursor(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

std::shared_ptr<const Picture> Win32Platform::loadPicture(const std::string& path) {
    // Decoded off the window's thread, as a giant picture takes seconds, but not as a drive
    // call: decoding is no silence of the drive. Given up waiting for, it shows no preview.
    const std::optional<std::string> bytes = offWindow().pictureBytes(path);
    if (!bytes) {
        return nullptr;
    }
    auto picture = workAside(answeringWait(), driveRootOf(path), [bytes, decode = decode_] {
        useComOnThisThread();
        return decode(*bytes);
    });
    return picture ? *picture : nullptr;
}

double Win32Platform::randomDraw() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    random_.seed(static_cast<std::uint64_t>(now.QuadPart));
    // The top 53 bits make a double in [0, 1) that can never round up to 1.
    return static_cast<double>(random_() >> 11) * 0x1.0p-53;
}

std::vector<DriveEntry> Win32Platform::listDrives() {
    return logicalDrives(offWindow().calls());
}

bool Win32Platform::isDriveReady(const std::string& root) {
    try {
        return offWindow().calls().call(root, [root, files = offWindow().files()] {
            return win32::isDriveReady(toWide(root), systemReadinessQueries([files](auto& r) {
                                           return files.isFolder(toUtf8(r));
                                       }));
        });
    } catch (const DriveNotAnswering&) {
        return false;
    }
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
