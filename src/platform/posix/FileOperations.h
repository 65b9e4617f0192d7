#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora::posix {

// The file-system half of the platform on POSIX systems, with no toolkit. Names behave as on
// Windows: every part of a path that is not found as written is looked up without regard to
// letter case, and the stored name is used. Failures throw PlatformError with the system's
// reason.
class FileOperations {
  public:
    // Called after each block with the bytes copied so far and the total; returning false
    // cancels the copy.
    using Progress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;

    enum class CopyOutcome { Copied, Cancelled };

    std::string findFirst(const std::string& pattern, int attributeMask) const;
    bool isFolder(const std::string& path) const;
    std::int64_t fileLength(const std::string& path) const;
    void deleteFile(const std::string& path) const;
    void makeFolder(const std::string& path) const;
    // Copies in large blocks into a hidden temporary file beside the destination, keeps the
    // source's modification time, flushes the data to the device, then puts the copy in
    // place of the destination. On failure or cancel the temporary file is removed and the
    // destination is as it was.
    CopyOutcome copyFile(const std::string& from, const std::string& to,
                         const Progress& progress = {}) const;
    std::uint64_t freeBytesAvailable(const std::string& root) const;
    std::vector<std::string> listFiles(const std::string& folder) const;
    std::string workingFolder() const;

    // The path as stored: each part not found as written is replaced by the entry of its
    // folder that differs only in letter case. Parts that match nothing stay as written.
    std::string resolve(const std::string& path) const;
};

}  // namespace velmora::posix
