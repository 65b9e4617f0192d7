#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "platform/PlatformError.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora::test {

// The double, also recording every deletion in order and failing chosen ones.
class DeletionPlatform : public ScriptedPlatform {
  public:
    std::vector<std::string> deletions;
    std::set<std::string> failingDeletions;
    bool freeSpaceFails = false;

    void deleteFile(const std::string& path) override {
        deletions.push_back(path);
        if (failingDeletions.contains(path)) {
            throw PlatformError("Deleting the file", path, "Permission denied");
        }
        ScriptedPlatform::deleteFile(path);
    }
    std::uint64_t freeBytesAvailable(const std::string& root) override {
        if (freeSpaceFails) {
            throw PlatformError("Measuring the free space of", root, "Input/output error");
        }
        return ScriptedPlatform::freeBytesAvailable(root);
    }
};

// A window started in a home folder, with that folder and two stand-in sticks as drives.
class StickTest : public ::testing::Test {
  protected:
    static constexpr int kHome = 0;
    static constexpr int kStick = 1;
    static constexpr int kOther = 2;
    static constexpr const char* kStickDrive = "e: [PSP]";

    StickTest() {
        home.write("home.MP4");
        platform.setWorkingFolder(home.path());
        platform.setDrives({{"h: [HOME]", home.root()},
                            {kStickDrive, stick.root()},
                            {"f: [OTHER]", other.root()}});
        platform.setFreeBytes(home.root(), 5 * kMegabyte);
        platform.setFreeBytes(stick.root(), 700 * kMegabyte + 1);
        platform.setFreeBytes(other.root(), 9 * kMegabyte);
    }

    // What the user does by picking an entry in drivePSP.
    void pick(MainForm& form, int index) {
        form.drivePSP.setListIndex(index);
        form.drivePSP_Change();
    }

    static constexpr std::uint64_t kMegabyte = 1048576;
    TempFolder home;
    TempFolder stick;
    TempFolder other;
    DeletionPlatform platform;
};

}  // namespace velmora::test
