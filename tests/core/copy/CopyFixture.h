#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "platform/Paths.h"
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
        platform.setDrives({{"e: [PSP]", stickRoot}});
        platform.setFreeBytes(stickRoot, 500 * kMegabyte);
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
    void putOnStick(const std::string& name, const std::string& bytes = {}) const {
        stickFolder.write(std::string(kVideoFolder) + "/" + name, bytes);
    }
    std::string videoFolder() const { return stickFolder.at(kVideoFolder); }
    std::string onStick(const std::string& name) const { return joinPath(videoFolder(), name); }
    // A UTF-8 path as the standard library takes it on every system.
    static std::filesystem::path pathOf(const std::string& utf8) {
        return std::u8string(utf8.begin(), utf8.end());
    }
    bool stickHas(const std::string& name) const {
        return std::filesystem::exists(pathOf(onStick(name)));
    }
    std::string stickRead(const std::string& name) const {
        std::ifstream in(pathOf(onStick(name)), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // Whether a file on the stick holds exactly the bytes of one in the source folder.
    bool copiedIntact(const std::string& onStickName, const std::string& sourceName) const {
        return stickHas(onStickName) && stickRead(onStickName) == source.read(sourceName);
    }
    // Every name in the video folder, hidden ones too, sorted by byte.
    std::vector<std::string> stickFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(pathOf(videoFolder()))) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace_back(name.begin(), name.end());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Points the window at the stick as picking its drive would; the free space reads 500.
    void showStick(MainForm& form) const {
        std::filesystem::create_directories(pathOf(videoFolder()));
        form.drivePSP.Refresh();
        form.drivePSP.selectDriveHolding(stickRoot);
        form.listPSP.setPath(videoFolder());
        form.freePSP.setCaption("500");
    }
    // Selects items as the user would, the summary recomputed.
    void select(MainForm& form, std::initializer_list<int> items) const {
        for (int i : items) {
            form.listSource.setSelected(i, true);
        }
        form.listSource_Click();
    }
    std::vector<int> selected(const MainForm& form) const {
        std::vector<int> items;
        for (int i = 0; i < form.listSource.ListCount(); ++i) {
            if (form.listSource.Selected(i)) {
                items.push_back(i);
            }
        }
        return items;
    }
    std::vector<std::string> listed(const FileList& list) const {
        std::vector<std::string> names;
        for (int i = 0; i < list.ListCount(); ++i) {
            names.push_back(list.List(i));
        }
        return names;
    }

    TempFolder source;
    TempFolder stickFolder;
    const std::string stick = stickFolder.path();
    const std::string stickRoot = stick + kPathSeparator;
    ScriptedPlatform platform;
};

}  // namespace velmora::test
