#include <windows.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "DriveCalls.h"
#include "FileOperations.h"
#include "OffWindowFiles.h"
#include "platform/PlatformError.h"
#include "win32/copy/CopyPace.h"
#include "win32/copy/CopyReadBack.h"
#include "win32/copy/FileSizeLimit.h"
#include "win32/copy/TemporaryCopy.h"
#include "win32/copy/TemporaryFiles.h"
#include "win32/files/FileHandle.h"
#include "win32/files/FullPath.h"
#include "win32/files/SystemCalls.h"
#include "win32/text/SystemError.h"
#include "win32/text/Wide.h"

namespace velmora {
using namespace win32;  // the wide strings and system errors of this platform
namespace {

using Clock = std::chrono::steady_clock;

// A failed step of the copy: what the user is told, whether the source was being read, and
// whether the target's name was found taken or the copy not given back.
struct CopyFailure {
    std::string reason;
    bool atSource;
    bool nameTaken = false;
    bool notReadBack = false;
};

CopyFailure systemFailure(DWORD error, bool atSource) {
    return {systemReason(error), atSource};
}

void requireSuccess(DWORD error) {
    if (error != ERROR_SUCCESS) {
        throw CopyFailure{namingFailureReason(error), false,
                          error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS};
    }
}

CopyFailure sourceChanged() {
    return {"The file changed while it was copied", true};
}

std::uint64_t sizeOf(HANDLE file) {
    LARGE_INTEGER size{};
    if (!sys::GetFileSizeEx(file, &size)) {
        throw systemFailure(GetLastError(), true);
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

// Writes one block, and flushes what waits in the cache when the pace says so.
void writePaced(HANDLE to, const char* data, DWORD size, CopyPace& pace) {
    DWORD written = 0;
    const auto writing = Clock::now();
    if (!sys::WriteFile(to, data, size, &written, nullptr) || written != size) {
        throw systemFailure(GetLastError(), false);
    }
    if (pace.wrote(size, Clock::now() - writing)) {
        const auto flushing = Clock::now();
        if (!sys::FlushFileBuffers(to)) {
            throw systemFailure(GetLastError(), false);
        }
        pace.flushed(Clock::now() - flushing);
    }
}

// Copies the size the source had when it was opened, no more, so the progress never passes
// its end; false when the user cancelled. A read that hangs is the source's drive's doing (see
// DriveCalls::waitingOn), anything else the target's.
bool copyContent(HANDLE from, const std::string& source, HANDLE to, std::uint64_t total,
                 const FileOperations::Progress& progress) {
    std::vector<char> buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(total, CopyPace::kLargestWrite)));
    CopyPace pace;
    for (std::uint64_t copied = 0; copied < total;) {
        const auto wanted =
            static_cast<DWORD>(std::min<std::uint64_t>(total - copied, pace.nextWrite()));
        DWORD read = 0;
        DriveCalls::waitingOn(source);
        if (!sys::ReadFile(from, buffer.data(), wanted, &read, nullptr)) {
            throw systemFailure(GetLastError(), true);
        }
        DriveCalls::waitingOn({});
        if (read == 0) {
            throw sourceChanged();  // it shrank
        }
        writePaced(to, buffer.data(), read, pace);
        copied += read;
        if (progress && !progress(copied, total)) {
            return false;
        }
    }
    return true;
}

void keepModificationTime(HANDLE from, HANDLE to) {
    FILETIME modified{};
    if (!sys::GetFileTime(from, nullptr, nullptr, &modified) ||
        !sys::SetFileTime(to, nullptr, nullptr, &modified)) {
        throw systemFailure(GetLastError(), false);
    }
}

// Whether the stick gives the copy back (see readBackBeforeNaming): false when the user
// cancelled meanwhile.
bool givenBack(HANDLE source, const std::string& sourcePath, std::uint64_t total,
               const std::wstring& temporary, const FileOperations::Progress& progress) {
    const DWORD error = readBackBeforeNaming(source, sourcePath, total, temporary, progress);
    if (error == kNotGivenBack) {
        throw CopyFailure{kNotReadBack, false, false, true};
    }
    if (error != ERROR_SUCCESS && error != ERROR_CANCELLED) {
        throw systemFailure(error, true);
    }
    return error == ERROR_SUCCESS;
}

// The copy grows under a hidden name and takes the target's name only once its data are on
// the device and read back from it, and only where no file has that name; the name is flushed
// in turn before it counts. A cancel counts until the copy has its name, also one given while
// the data are flushed or read back, and one given while the name was written takes it back
// off; after that the copy stays.
FileOperations::CopyOutcome copyOpened(HANDLE source, const std::string& sourcePath,
                                       const std::wstring& target,
                                       const FileOperations::Progress& progress) {
    const std::uint64_t total = sizeOf(source);
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\'));
    if (const std::optional<std::string> refusal = fileSizeRefusal(folder, total)) {
        throw CopyFailure{*refusal, false};
    }
    const std::wstring temporary = temporaryBeside(target);
    TemporaryCopy copy = TemporaryCopy::create(temporary);
    if (!copy.valid()) {
        throw systemFailure(GetLastError(), false);
    }
    if (!copyContent(source, sourcePath, copy.get(), total, progress)) {
        return FileOperations::CopyOutcome::Cancelled;
    }
    if (sizeOf(source) != total) {
        throw sourceChanged();  // it grew
    }
    keepModificationTime(source, copy.get());
    const DWORD flushed = copy.flush();
    if (progress && !progress(total, total)) {
        return FileOperations::CopyOutcome::Cancelled;
    }
    requireSuccess(flushed);
    if (!givenBack(source, sourcePath, total, temporary, progress) ||
        (progress && !progress(total, total))) {
        return FileOperations::CopyOutcome::Cancelled;
    }
    requireSuccess(copy.takeName(target));
    // The window may have given up on a drive that held the rename: it has said the video was
    // not copied.
    if (progress && !progress(total, total) && copy.takeNameBack()) {
        return FileOperations::CopyOutcome::Cancelled;
    }
    return FileOperations::CopyOutcome::Copied;
}

}  // namespace

FileOperations::CopyOutcome FileOperations::copyFile(const std::string& from, const std::string& to,
                                                     const Progress& progress) const {
    // Shared for deleting too, as the preview reads it: a thumbnail that another program
    // holds open that way still copies.
    DriveCalls::waitingOn(from);
    const FileHandle source = openForReading(filePath(from), FILE_FLAG_SEQUENTIAL_SCAN);
    if (!source.valid()) {
        fail("Reading the file", from);
    }
    DriveCalls::waitingOn({});
    try {
        return copyOpened(source.get(), from, win32::fullPath(toWide(to)), progress);
    } catch (const CopyFailure& failure) {
        if (failure.nameTaken) {
            throw NameTaken("Writing the file", to, failure.reason);
        }
        if (failure.notReadBack) {
            throw NotReadBack("Copying the file", from, failure.reason);
        }
        throw PlatformError(failure.atSource ? "Reading the file" : "Writing the file",
                            failure.atSource ? from : to, failure.reason);
    }
}

}  // namespace velmora
