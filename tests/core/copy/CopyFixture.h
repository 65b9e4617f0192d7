#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora::test {

inline constexpr std::uint64_t kMegabyte = 1048576;

// The draw that gives a name prefix: the middle of its slice of [0, 1).
inline double drawFor(int prefix) {
    return (prefix - 100 + 0.5) / 801;
}

// A source folder and a stand-in stick with its video folder, the stick the current drive.
// The stick's free space reads 500 MB once measured.
class CopyTest : public ::testing::Test {
  protected:
    static constexpr const char* kVideoFolder = "MP_ROOT/100ANV01";

    CopyTest() {
        platform.setWorkingFolder(source.path());
        platform.setDrives({{"e: [PSP]", stick + "/"}});
        platform.setFreeBytes(stick + "/", 500 * kMegabyte);
    }

    // A video of whole megabytes whose bytes tell it from every other.
    void addVideo(const std::string& name, int megabytes = 1) const {
        std::string bytes;
        while (bytes.size() < megabytes * kMegabyte) {
            bytes += name + ";";
        }
        bytes.resize(megabytes * kMegabyte);
        source.write(name, bytes);
    }
    void addThumbnail(const std::string& name) const { source.write(name, kJpegBytes + name); }
    std::string onStick(const std::string& name) const {
        return stick + "/" + kVideoFolder + "/" + name;
    }
    bool stickHas(const std::string& name) const;
    std::string stickRead(const std::string& name) const;
    // Whether a file on the stick holds exactly the bytes of one in the source folder.
    bool copiedIntact(const std::string& onStickName, const std::string& sourceName) const {
        return stickHas(onStickName) && stickRead(onStickName) == source.read(sourceName);
    }
    // Every name in the video folder, hidden ones too, sorted by byte.
    std::vector<std::string> stickFiles() const;

    // Points the window at the stick as picking its drive would, with the free space measured.
    void showStick(MainForm& form) const;
    // Selects items as the user would, the summary recomputed.
    void select(MainForm& form, std::initializer_list<int> items) const;
    std::vector<int> selected(const MainForm& form) const;
    std::vector<std::string> listed(const FileList& list) const;

    TempFolder source;
    TempFolder stickFolder;
    const std::string stick = stickFolder.path();
    ScriptedPlatform platform;
};

}  // namespace velmora::test
