#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora::win32 {

// The file-system half of the platform on Windows, with the wide-character calls so that any
// file name works. Windows itself finds names regardless of letter case. Failures throw
// PlatformError with the system's reason.
class FileOperations {
  public:
    // Called now and then with the bytes copied so far and the total; returning false
    // cancels the copy.
    using Progress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;

    enum class CopyOutcome { Copied, Cancelled };

    // The bare name of the first entry matching a path whose last part may hold * and ?:
    // neither hidden nor system entries, folders only with lookup::kFoldersToo. Empty when
    // nothing matches or the folder does not exist.
    std::string findFirst(const std::string& pattern, int attributeMask) const;
    bool isFolder(const std::string& path) const;
    std::int64_t fileLength(const std::string& path) const;
    void deleteFile(const std::string& path) const;
    void makeFolder(const std::string& path) const;
    // Copies into a temporary file beside the destination, flushes it to the device, then
    // puts it in place of the destination in one step. On failure or cancel the temporary
    // file is removed and the destination is as it was.
    CopyOutcome copyFile(const std::string& from, const std::string& to,
                         const Progress& progress = {}) const;
    std::uint64_t freeBytesAvailable(const std::string& root) const;
    // Names of the folder's files that are neither hidden nor system.
    std::vector<std::string> listFiles(const std::string& folder) const;
    std::string workingFolder() const;

    // Windows finds stored names regardless of case, so a path is already as good as stored.
    std::string resolve(const std::string& path) const { return path; }
};

}  // namespace velmora::win32
