#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::win32 {

// Why a file of size bytes can't be written into folder (a full path), if it can't: FAT and
// FAT32, as a PSP's stick is formatted, hold files of up to 4 GiB less one byte. Asked before
// anything is written, so a video too large fails at once rather than after half an hour.
// Where the file system can't be told, nothing is refused.
std::optional<std::string> fileSizeRefusal(const std::wstring& folder, std::uint64_t size);

}  // namespace velmora::win32
