#include "win32/copy/VideoCopy.h"

#include "OffWindowFiles.h"
#include "win32/copy/CopyReadBack.h"
#include "win32/copy/CopyRoute.h"
#include "win32/files/FullPath.h"
#include "win32/copy/ShellCopy.h"
#include "win32/copy/ShellCopyTarget.h"
#include "win32/copy/TemporaryCopy.h"
#include "win32/copy/TemporaryFiles.h"
#include "win32/text/Wide.h"

namespace velmora::win32 {
namespace {

constexpr const char* kIncompleteCopy =
    "The copy on the drive is incomplete: the drive may be full or write-protected.";

FileOperations::Progress reportingTo(CopyProgress& progress) {
    return [&progress](std::uint64_t copied, std::uint64_t total) {
        return progress.report(copied, total);
    };
}

// The shell's copy has arrived whole under its temporary name: it takes the target's name
// once the stick gives it back.
void place(VideoCopyOutcome& outcome, const std::wstring& temporary, const std::string& from,
           const std::string& to, CopyProgress& progress) {
    const DWORD error = placeShellCopy(fullPath(toWide(from)), temporary, fullPath(toWide(to)),
                                       reportingTo(progress));
    if (error == ERROR_CANCELLED) {
        outcome.result = {ERROR_CANCELLED, true};
    } else if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        outcome.result = {static_cast<int>(error), false, true};
    } else if (error == kNotGivenBack) {
        outcome.result = {static_cast<int>(error), false};
        outcome.message = copyFailedText(from, kNotReadBack);
    } else if (error != ERROR_SUCCESS) {
        outcome.result = {static_cast<int>(error), false};
        outcome.message = copyFailedText(to, namingFailureReason(error));
    }
}

// The shell writes in place, so the copy takes the target's name only once it is whole and
// on the stick: a copy cut short (the session made to end, the stick pulled) leaves no half
// video that the PSP lists.
VideoCopyOutcome copyByShell(HWND owner, const std::wstring& source, const std::wstring& temporary,
                             const std::string& from, const std::string& to,
                             CopyProgress& progress) {
    if (const std::optional<std::string> refusal = prepareShellCopy(source, temporary)) {
        return {{ERROR_FILE_TOO_LARGE, false}, copyFailedText(from, *refusal)};
    }
    progress.shellShows = true;
    VideoCopyOutcome outcome{runShellCopy(owner, source, temporary), std::nullopt};
    progress.shellShows = false;
    ShellCopyResult& result = outcome.result;
    if (const std::optional<std::string> reason = untoldShellFailure(result)) {
        outcome.message = copyFailedText(from, *reason);
    } else if (result.code == 0 && !result.aborted && !arrivedWhole(from, toUtf8(temporary))) {
        result.code = ERROR_WRITE_FAULT;
        outcome.message = copyFailedText(to, kIncompleteCopy);
    } else if (result.code == 0 && !result.aborted) {
        place(outcome, temporary, from, to, progress);
    }
    if (result.code != 0 || result.aborted) {
        removeTemporary(temporary);  // whatever the shell left of it
    }
    return outcome;
}

VideoCopyOutcome copyByOwnCopy(const FileOperations& files, const std::string& from,
                               const std::string& to, CopyProgress& progress) {
    if (files.copyFile(from, to, reportingTo(progress)) == FileOperations::CopyOutcome::Cancelled) {
        return {{ERROR_CANCELLED, true}, std::nullopt};
    }
    return {};
}

}  // namespace

VideoCopyOutcome copyVideo(HWND owner, const FileOperations& files, const std::string& from,
                           const std::string& to, CopyProgress& progress) {
    // The route's choice reads the source's folders, which may be deep or on a slow drive.
    const std::wstring temporary = temporaryBeside(fullPath(toWide(to)));
    const CopyRoute route = chooseCopyRoute(fullPath(toWide(from)), temporary, systemShortPath);
    if (route.byShell) {
        return copyByShell(owner, route.shellSource, temporary, from, to, progress);
    }
    return copyByOwnCopy(files, from, to, progress);
}

std::string copyFailedText(const std::string& path, const std::string& reason) {
    return "Copying the file failed.\r\n\r\n" + path + "\r\n\r\n" + reason;
}

}  // namespace velmora::win32
