#include "win32/copy/TemporaryFiles.h"
#include "win32/files/SystemCalls.h"

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <optional>
#include <string_view>

#include "win32/files/FileInformation.h"
#include "win32/files/FolderEntries.h"
#include "win32/files/FullPath.h"

namespace velmora::win32 {
namespace {

constexpr std::wstring_view kEnding = L".velmora-tmp";

std::uint64_t startTimeOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool isRunning(const TemporaryWriter& writer) {
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, writer.processId);
    if (process == nullptr) {
        // A process that exists but is not ours to open may still be writing.
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    // A start time that could not be read, in the name or of the process, can't tell the writer
    // from a later process of its id; the temporary may then be one still being written.
    const std::uint64_t started = startTimeOf(process);
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT &&
                         (writer.startTime == 0 || started == 0 || started == writer.startTime);
    sys::CloseHandle(process);
    return running;
}

// What a temporary's name "~<target>.<id>-<start>-<n>.velmora-tmp" tells.
struct TemporaryName {
    std::wstring target;
    TemporaryWriter writer;
};

// Nothing for a name of any other form.
std::optional<TemporaryName> readTemporaryName(std::wstring_view name) {
    if (!name.starts_with(L'~') || !name.ends_with(kEnding)) {
        return std::nullopt;
    }
    name.remove_suffix(kEnding.size());
    const std::size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring_view::npos || dot < 2) {
        return std::nullopt;
    }
    const std::wstring identity(name.substr(dot + 1));
    unsigned long id = 0;
    unsigned long long start = 0;
    unsigned counter = 0;
    int used = 0;
    if (identity.find_first_not_of(L"0123456789abcdef-") != std::wstring::npos ||
        std::swscanf(identity.c_str(), L"%lu-%llx-%u%n", &id, &start, &counter, &used) != 3 ||
        static_cast<std::size_t>(used) != identity.size()) {
        return std::nullopt;
    }
    return TemporaryName{std::wstring(name.substr(1, dot - 1)),
                         {static_cast<std::uint32_t>(id), start}};
}

// Whether the leftover may be its target itself under a second folder entry: a FAT stick that
// lost its power right after the rename may hold both, the old one's removal not yet written.
// Removing it would then free the video's clusters; a file of the target's name, size and time
// says that it may be so.
bool mayBeItsTarget(const std::wstring& folder, const WIN32_FIND_DATAW& leftover,
                    const std::wstring& target) {
    WIN32_FILE_ATTRIBUTE_DATA file{};
    return sys::GetFileAttributesExW(withLongPrefix(folder + target).c_str(), GetFileExInfoStandard,
                                     &file) &&
           file.nFileSizeHigh == leftover.nFileSizeHigh &&
           file.nFileSizeLow == leftover.nFileSizeLow &&
           CompareFileTime(&file.ftLastWriteTime, &leftover.ftLastWriteTime) == 0;
}

// Sharing all, so that only a file held by one who shares no deletion refuses it: a temporary
// still open to its copy. A link of the name opens itself, not what it points to.
HANDLE openForDeletion(const std::wstring& path) {
    constexpr DWORD kAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
    constexpr DWORD kSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    return sys::CreateFileW(withLongPrefix(path).c_str(), kAccess, kSharing, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

std::wstring hex(std::uint64_t number) {
    wchar_t text[17] = {};
    std::swprintf(text, 17, L"%llx", static_cast<unsigned long long>(number));
    return text;
}

}  // namespace

TemporaryWriter thisWriter() {
    static const TemporaryWriter writer{GetCurrentProcessId(), startTimeOf(GetCurrentProcess())};
    return writer;
}

std::wstring temporaryBeside(const std::wstring& target, const TemporaryWriter& writer) {
    static std::atomic<unsigned> counter{0};
    const auto slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    return folder + L"~" + name + L"." + std::to_wstring(writer.processId) + L"-" +
           hex(writer.startTime) + L"-" + std::to_wstring(counter++) + std::wstring(kEnding);
}

// Attributes change only once the file has opened for deletion, so that one still open to its
// copy keeps them; read-only, which forbids the deletion, is set again where it still fails.
void removeTemporary(const std::wstring& path) {
    const HANDLE file = openForDeletion(path);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    FILE_BASIC_INFO basic{};
    const bool readOnly =
        sys::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof(basic)) &&
        (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) {
        setAttributes(file, basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (!markForDeletion(file) && readOnly) {
        setAttributes(file, basic.FileAttributes);
    }
    sys::CloseHandle(file);
}

void removeLeftoverTemporaries(const std::wstring& folder) {
    const std::wstring inside = folder.ends_with(L'\\') ? folder : folder + L"\\";
    FolderEntries entries(withLongPrefix(inside + L"~*" + std::wstring(kEnding)));
    for (WIN32_FIND_DATAW entry{}; entries.next(entry);) {
        const std::optional<TemporaryName> temporary = readTemporaryName(entry.cFileName);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && temporary &&
            !isRunning(temporary->writer) && !mayBeItsTarget(inside, entry, temporary->target)) {
            removeTemporary(inside + entry.cFileName);
        }
    }
}

}  // namespace velmora::win32
