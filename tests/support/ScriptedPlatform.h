#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FileOperations.h"
#include "platform/Platform.h"

namespace velmora::test {

// A picture as the double loads it: it remembers the file it came from.
class TestPicture : public Picture {
  public:
    explicit TestPicture(std::string path) : path_(std::move(path)) {}
    int width() const override { return 160; }
    int height() const override { return 120; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The platform for core tests: real file operations on real (temporary) folders, desktop
// services answered from a script and recorded.
class ScriptedPlatform : public Platform {
  public:
    struct Question {
        std::string text;
        int flags = 0;
        std::optional<std::string> title;
    };
    struct Copy {
        std::string from;
        std::string to;
    };

    // --- script -------------------------------------------------------------------------
    // Answers for the next message boxes, in order. A box with no scripted answer gets No
    // (Yes/No boxes) or OK.
    void answer(int reply) { answers_.push_back(reply); }
    // Results of the next folder browsers, in order; nothing scripted means Cancel.
    void browseTo(std::optional<std::string> folder) { browses_.push_back(std::move(folder)); }
    // Values of the next random draws, in order; nothing scripted draws 0.
    void drawNext(double value) { draws_.push_back(value); }
    // The free space reported for a root; other roots report the real figure.
    void setFreeBytes(const std::string& root, std::uint64_t bytes) { freeBytes_[root] = bytes; }
    // The n-th shell copy (counting from 1) fails, or is cancelled, without leaving a file.
    void failShellCopy(int n) { failingCopies_.insert(n); }
    void cancelShellCopy(int n) { cancelledCopies_.insert(n); }
    void setDrives(std::vector<DriveEntry> drives) { drives_ = std::move(drives); }
    void setWorkingFolder(std::string folder) { workingFolder_ = std::move(folder); }
    // Deleting these paths fails as a file in use would; so does every free-space query
    // while freeSpaceFails is set.
    std::set<std::string> failingDeletions;
    bool freeSpaceFails = false;

    // --- record -------------------------------------------------------------------------
    std::vector<Question> questions;
    std::vector<std::string> browseTitles;
    std::vector<Copy> shellCopies;
    std::vector<std::string> deletions;  // every attempt, in order
    std::vector<std::string> openedAddresses;
    std::vector<bool> busyCursor;  // every switch, in order
    int randomDraws = 0;
    int pictureLoads = 0;

    // --- Platform -----------------------------------------------------------------------
    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title) override;
    std::string findFirst(const std::string& pattern, int mask) override {
        return files_.findFirst(pattern, mask);
    }
    bool isFolder(const std::string& path) override { return files_.isFolder(path); }
    std::int64_t fileLength(const std::string& path) override { return files_.fileLength(path); }
    void deleteFile(const std::string& path) override;
    void makeFolder(const std::string& path) override { files_.makeFolder(path); }
    void copyFile(const std::string& from, const std::string& to) override {
        files_.copyFile(from, to);
    }
    ShellCopyResult shellCopy(const std::string& from, const std::string& to) override;
    std::optional<std::string> browseForFolder(const std::string& title) override;
    std::uint64_t freeBytesAvailable(const std::string& root) override;
    void shellOpen(const std::string& address) override { openedAddresses.push_back(address); }
    std::string aboutPageAddress() override { return "file:///about/velmora.html"; }
    void setBusyCursor(bool busy) override { busyCursor.push_back(busy); }
    // Loads any file that starts with a JPEG, PNG or BMP signature; nullptr for others.
    std::shared_ptr<const Picture> loadPicture(const std::string& path) override;
    double randomDraw() override;
    std::vector<std::string> listFiles(const std::string& folder) override {
        return files_.listFiles(folder);
    }
    std::vector<DriveEntry> listDrives() override { return drives_; }
    std::string workingFolder() override {
        return workingFolder_ ? *workingFolder_ : files_.workingFolder();
    }

  private:
    FileOperations files_;
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> browses_;
    std::deque<double> draws_;
    std::map<std::string, std::uint64_t> freeBytes_;
    std::set<int> failingCopies_;
    std::set<int> cancelledCopies_;
    std::vector<DriveEntry> drives_;
    std::optional<std::string> workingFolder_;
};

}  // namespace velmora::test
