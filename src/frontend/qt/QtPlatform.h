#pragma once

#include "FileOperations.h"
#include "platform/Platform.h"

namespace velmora::qt {

// The platform of the Linux desktop: file-system work by the POSIX operations, dialogs,
// pictures, drives and the browser through Qt. Dialogs are owned by the active window, so
// while one is open the window takes no other input.
class QtPlatform : public Platform {
  public:
    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title) override;
    std::string findFirst(const std::string& pattern, int attributeMask) override;
    bool isFolder(const std::string& path) override;
    std::int64_t fileLength(const std::string& path) override;
    void deleteFile(const std::string& path) override;
    void makeFolder(const std::string& path) override;
    void copyFile(const std::string& from, const std::string& to) override;
    ShellCopyResult shellCopy(const std::string& from, const std::string& to) override;
    std::optional<std::string> browseForFolder(const std::string& title) override;
    std::uint64_t freeBytesAvailable(const std::string& root) override;
    void shellOpen(const std::string& address) override;
    std::string aboutPageAddress() override;
    void setBusyCursor(bool busy) override;
    std::shared_ptr<const Picture> loadPicture(const std::string& path) override;
    double randomDraw() override;
    std::vector<std::string> listFiles(const std::string& folder) override;
    std::vector<DriveEntry> listDrives() override;
    std::string workingFolder() override;

  private:
    FileOperations files_;
    bool busy_ = false;
};

}  // namespace velmora::qt
