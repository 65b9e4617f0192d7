#include "win32/copy/FileSizeLimit.h"

#include <windows.h>

#include "win32/files/FullPath.h"
#include "win32/files/SystemCalls.h"

namespace velmora::win32 {
namespace {

constexpr std::uint64_t kLargestFatFile = 0xFFFFFFFFull;

// "FAT" (12 and 16 bits) or "FAT32"; exFAT has no such limit.
bool isFat(const std::wstring& folder) {
    wchar_t root[MAX_PATH + 1] = {};
    wchar_t fileSystem[MAX_PATH + 1] = {};
    return sys::GetVolumePathNameW(withLongPrefix(folder).c_str(), root, MAX_PATH + 1) &&
           sys::GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                                      MAX_PATH + 1) &&
           std::wstring(fileSystem).starts_with(L"FAT");
}

}  // namespace

std::optional<std::string> fileSizeRefusal(const std::wstring& folder, std::uint64_t size) {
    if (size <= kLargestFatFile || !isFat(folder)) {
        return std::nullopt;
    }
    return "The file is larger than the drive's FAT file system allows: it holds files of up to "
           "4 GB (4,294,967,295 bytes).";
}

}  // namespace velmora::win32
