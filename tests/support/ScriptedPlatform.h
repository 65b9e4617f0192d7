#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "CopiesRecheck.h"
#include "FileOperations.h"
#include "OffWindowFiles.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"

namespace velmora::test {

// Enough for the double to take a file as a picture.
inline const std::string kJpegBytes = std::string("\xFF\xD8\xFF\xE0", 4) + "thumbnail";

class TestPicture : public Picture {
  public:
    explicit TestPicture(std::string file) : path(std::move(file)) {}
    int width() const override { return 160; }
    int height() const override { return 120; }
    const std::string path;
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

    // Script: what nothing scripts is a box's No or OK, a cancelled browser, a draw of 0.
    void answer(int reply) { answers_.push_back(reply); }
    void browseTo(std::optional<std::string> folder) { browses_.push_back(std::move(folder)); }
    void drawNext(double value) { draws_.push_back(value); }
    // The free space of a root; other roots report the real figure.
    void setFreeBytes(const std::string& root, std::uint64_t bytes) { freeBytes_[root] = bytes; }
    void setDrives(std::vector<DriveEntry> drives) { drives_ = std::move(drives); }
    void setWorkingFolder(std::string folder) { workingFolder_ = std::move(folder); }
    // The volume of what lies in this folder, links followed; outside all such, the real one.
    void setVolume(const std::string& folder, VolumeId volume) { volumes_[place(folder)] = volume; }
    // The n-th shell copy (counting from 1) ends so, leaving no file.
    std::map<int, ShellCopyResult> shellCopyEnds;
    // Deleting these paths fails; so does every free-space query while freeSpaceFails is set.
    std::set<std::string> failingDeletions;
    bool freeSpaceFails = false;
    // Names of copies the stick does not give back: copying one fails.
    std::set<std::string> lostCopies;
    // Calls on paths under this root get no answer, as on a stick that stopped answering.
    std::string silentRoot;
    // What the user or the system does during a copy, before it copies, or a question.
    std::function<void()> duringShellCopy = [] {};
    std::function<void()> duringFileCopy = [] {};
    std::function<void()> duringRecheck = [] {};
    std::function<void()> duringQuestion = [] {};

    // What the handlers asked and did, in order.
    std::vector<Question> questions;
    std::vector<std::string> deletions;  // every attempt
    std::vector<bool> busyCursor;
    std::vector<CopyStep> steps;           // of each shell copy
    std::vector<std::string> browsedFrom;  // each folder browser's start folder
    int shellCopies = 0, driveReads = 0, randomDraws = 0, pictureLoads = 0, sweeps = 0;
    int nameReads = 0;  // lookups and listings of a folder's names

    int messageBox(const std::string& text, int flags,
                   const std::optional<std::string>& title) override {
        questions.push_back({text, flags, title});
        duringQuestion();
        return next(answers_, (flags & 0xF) == mb::kYesNo ? mb::kAnswerNo : mb::kAnswerOk);
    }
    std::string findFirst(const std::string& pattern, int mask) override {
        ++nameReads;
        return on(pattern).findFirst(pattern, mask);
    }
    bool isFolder(const std::string& path) override { return on(path).isFolder(path); }
    std::int64_t fileLength(const std::string& path) override { return on(path).fileLength(path); }
    void deleteFile(const std::string& path) override {
        on(path);
        deletions.push_back(path);
        if (failingDeletions.contains(path)) {
            throw PlatformError("Deleting the file", path, "Permission denied");
        }
        files_.deleteFile(path);
    }
    void makeFolder(const std::string& path) override { on(path).makeFolder(path); }
    void copyFile(const std::string& from, const std::string& to) override {
        duringFileCopy();
        copyOnto(from, to);
    }
    ShellCopyResult shellCopy(const std::string& from, const std::string& to,
                              const CopyStep& step) override {
        on(to);
        steps.push_back(step);
        duringShellCopy();
        if (const auto end = shellCopyEnds.find(++shellCopies); end != shellCopyEnds.end()) {
            return end->second;
        }
        try {
            copyOnto(from, to);
        } catch (const NameTaken&) {
            return {1, false, true};
        } catch (const PlatformError& error) {
            // The shell reports its own errors; the caller sees only the result.
            questions.push_back({error.what(), mb::kOk | mb::kIconError, std::nullopt});
            return {1, false};
        }
        return {};
    }
    // As the platforms check, on real files; a silent stick is left at once.
    RecheckResult recheckCopies(const std::vector<CopiedFile>& files) override {
        duringRecheck();
        if (!silentRoot.empty() && files.front().copy.starts_with(silentRoot)) {
            return {std::vector<Recheck>(files.size(), Recheck::Unchecked), silentRoot};
        }
        CopiesRecheck check(files);
        CopyProgress progress;
        check.run(files_, progress);
        return {check.verdicts()};
    }
    void removeLeftovers(const std::string& folder) override {
        ++sweeps;
        on(folder).removeLeftovers(folder);
    }
    std::optional<std::string> browseForFolder(const std::string&, const std::string& at) override {
        browsedFrom.push_back(at);
        return next(browses_, std::optional<std::string>());
    }
    std::uint64_t freeBytesAvailable(const std::string& root) override {
        on(root);
        if (freeSpaceFails) {
            throw PlatformError("Measuring the free space of", root, "Input/output error");
        }
        const auto it = freeBytes_.find(root);
        return it != freeBytes_.end() ? it->second : files_.freeBytesAvailable(root);
    }
    VolumeId volumeOf(const std::string& path) override {
        VolumeId volume = on(path).volumeOf(path);   // fails for a missing path as the system does
        for (const auto& [folder, id] : volumes_) {  // a folder sorts before those inside it
            volume = place(path).starts_with(folder) ? id : volume;
        }
        return volume;
    }
    void shellOpen(const std::string&) override {}
    std::string aboutPageAddress() override { return "file:///about/velmora.html"; }
    void setBusyCursor(bool busy) override { busyCursor.push_back(busy); }
    std::shared_ptr<const Picture> loadPicture(const std::string& path) override {
        ++pictureLoads;
        const std::string stored = on(path).resolve(path);
        std::ifstream in(std::filesystem::path(std::u8string(stored.begin(), stored.end())),
                         std::ios::binary);
        if (!in) {
            throw PlatformError("Reading the picture", path, "cannot open");
        }
        std::string start(2, '\0');
        in.read(start.data(), 2);
        return kJpegBytes.starts_with(start) ? std::make_shared<TestPicture>(path) : nullptr;
    }
    double randomDraw() override {
        ++randomDraws;
        return next(draws_, 0.0);
    }
    std::vector<std::string> listFiles(const std::string& folder) override {
        ++nameReads;
        return on(folder).listFiles(folder);
    }
    std::vector<DriveEntry> listDrives() override {
        ++driveReads;
        return drives_;
    }
    std::string workingFolder() override {
        return workingFolder_ ? *workingFolder_ : files_.workingFolder();
    }

  private:
    void copyOnto(const std::string& from, const std::string& to) const {
        if (lostCopies.contains(std::filesystem::path(to).filename().string())) {
            throw NotReadBack("Writing the file", to, kNotReadBack);
        }
        on(to).copyFile(from, to);
    }
    // The files that path is on; a path under the silent root gets no answer.
    const FileOperations& on(const std::string& path) const {
        if (!silentRoot.empty() && path.starts_with(silentRoot)) {
            throw DriveNotAnswering(silentRoot);
        }
        return files_;
    }
    // Where a path leads, links followed, ending in a separator.
    std::string place(const std::string& path) const {
        const std::string stored = files_.resolve(path);
        const auto real =
            std::filesystem::weakly_canonical(std::u8string(stored.begin(), stored.end())) / "";
        return reinterpret_cast<const char*>(real.u8string().c_str());
    }
    template <typename T>
    static T next(std::deque<T>& queue, T fallback) {
        if (!queue.empty()) {
            fallback = std::move(queue.front());
            queue.pop_front();
        }
        return fallback;
    }

    FileOperations files_;
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> browses_;
    std::deque<double> draws_;
    std::map<std::string, std::uint64_t> freeBytes_;
    std::vector<DriveEntry> drives_;
    std::optional<std::string> workingFolder_;
    std::map<std::string, VolumeId> volumes_;
};

}  // namespace velmora::test
