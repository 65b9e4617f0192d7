#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/MainForm.h"
#include "platform/Platform.h"
#include "platform/posix/MountedTmpfs.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora {
namespace {

// What df reports as available to this user, in whole megabytes.
std::string dfMegabytes(const std::string& path) {
    const std::string command = "df -B1 --output=avail '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return "df failed";
    }
    char line[256];
    std::string last;
    while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
        last = line;
    }
    return std::to_string(std::stoull(last) / 1048576);
}

class RemovableStickTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!stick.error().empty()) {
            GTEST_SKIP() << "No stand-in stick: a tmpfs could not be mounted (" << stick.error()
                         << "); run the tests as root to measure a real volume.";
        }
        platform.setWorkingFolder(home.path());
        platform.setDrives({{"h: [HOME]", home.path() + "/"},
                            {mountPoint.path() + " [VELMORA]", mountPoint.path() + "/"}});
    }

    test::TempFolder home;
    test::TempFolder mountPoint;
    test::MountedTmpfs stick{mountPoint.path(), "50m"};
    test::ScriptedPlatform platform;
};

TEST_F(RemovableStickTest, TheFreeSpaceFigureMatchesDfAsTheStickFillsUp) {
    MainForm form(platform);
    platform.answer(mb::kAnswerYes);
    form.drivePSP.setListIndex(1);
    form.drivePSP_Change();
    ASSERT_EQ(form.listPSP.Path(), mountPoint.path() + "/MP_ROOT/100ANV01");
    EXPECT_EQ(form.freePSP.Caption(), "50");
    EXPECT_EQ(form.freePSP.Caption(), dfMegabytes(mountPoint.path()));

    // Three and a half megabytes of video: the figure drops by four whole megabytes.
    mountPoint.write("MP_ROOT/100ANV01/MAQ10001.MP4", std::string(3 * 1048576 + 524288, 'v'));
    form.listPSP_KeyPress(key::kCtrlR);
    EXPECT_EQ(form.listPSP.ListCount(), 1);
    EXPECT_EQ(form.freePSP.Caption(), "46");
    EXPECT_EQ(form.freePSP.Caption(), dfMegabytes(mountPoint.path()));

    form.listPSP.setSelected(0, true);
    form.listPSP.setListIndex(0);
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_EQ(form.listPSP.ListCount(), 0);
    EXPECT_EQ(form.freePSP.Caption(), "50");
    EXPECT_EQ(form.freePSP.Caption(), dfMegabytes(mountPoint.path()));
}

}  // namespace
}  // namespace velmora
