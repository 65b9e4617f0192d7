#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <ranges>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora::test {

using Strings = std::vector<std::string>;

// A window's world: a home folder, the working folder, which holds the videos to copy, and a
// stand-in stick with 700 MB free. The test makes the window once it has written its files.
class StickTest : public ::testing::Test {
  protected:
    static constexpr std::uint64_t kMegabyte = 1048576;
    static constexpr const char* kVideoFolder = "MP_ROOT/100ANV01";
    static constexpr VolumeId kStickVolume = 2;

    StickTest() {
        platform.setWorkingFolder(home.path());
        platform.setDrives({{"h: [HOME]", home.root()}, {"e: [PSP]", stick.root()}});
        platform.setFreeBytes(home.root(), 5 * kMegabyte);
        platform.setFreeBytes(stick.root(), 700 * kMegabyte + 1);
        platform.setVolume(stick.path(), kStickVolume);
    }

    // What the user does by picking an entry in drivePSP (1 is the stick).
    static void pick(MainForm& form, int index) {
        form.drivePSP.setListIndex(index);
        form.drivePSP_Change();
    }
    // The stick's video folder, holding these files, shown in listPSP.
    void showStick(MainForm& form, std::initializer_list<const char*> files = {}) {
        stick.makeFolder(kVideoFolder);
        for (const char* name : files) {
            stick.write(inVideoFolder(name), kJpegBytes);
        }
        pick(form, 1);
    }
    static std::string inVideoFolder(const std::string& name) {
        return std::string(kVideoFolder) + "/" + name;
    }
    Strings stickFiles() const { return stick.names(kVideoFolder); }

    static void select(FileList& list, std::initializer_list<int> items) {
        for (int i = 0; i < list.ListCount(); ++i) {
            list.setSelected(i, std::find(items.begin(), items.end(), i) != items.end());
        }
    }
    static std::vector<int> selected(const FileList& list) {
        std::vector<int> items;
        std::ranges::copy_if(std::views::iota(0, list.ListCount()), std::back_inserter(items),
                             [&](int i) { return list.Selected(i); });
        return items;
    }
    static Strings listed(const FileList& list) {
        Strings names;
        std::ranges::transform(std::views::iota(0, list.ListCount()), std::back_inserter(names),
                               [&](int i) { return list.List(i); });
        return names;
    }
    std::string lastQuestion() const {
        return platform.questions.empty() ? "" : platform.questions.back().text;
    }

    TempFolder home;
    TempFolder stick;
    ScriptedPlatform platform;
};

}  // namespace velmora::test
