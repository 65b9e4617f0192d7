#include <gtest/gtest.h>

#include "core/psp/StickFixture.h"

namespace velmora {
namespace {

using GoneDrive = test::StickTest;

// Pulled out after the drive list was read: its mount point stays behind as an empty folder.
TEST_F(GoneDrive, IsNotReadyAndGetsNoFolders) {
    MainForm form(platform);
    platform.setDrives({{"h: [HOME]", home.root()}, {"f: [OTHER]", other.root()}});
    platform.answer(mb::kAnswerYes);
    pick(form, kStick);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, "Video directory not found!");
    EXPECT_FALSE(stick.exists("MP_ROOT"));
    EXPECT_EQ(form.listPSP.Path(), home.path());
}

TEST_F(GoneDrive, AFreeSpaceThatCannotBeMeasuredShowsZero) {
    stick.makeFolder("MP_ROOT/100ANV01");
    MainForm form(platform);
    form.freePSP.setCaption("9");  // the previous drive's figure
    platform.freeSpaceFails = true;
    pick(form, kStick);
    EXPECT_EQ(form.listPSP.Path(), stick.at("MP_ROOT/100ANV01"));
    EXPECT_EQ(form.freePSP.Caption(), "0");
    form.freePSP.setCaption("9");
    form.listPSP_KeyPress(key::kCtrlR);
    EXPECT_EQ(form.freePSP.Caption(), "0");
    EXPECT_TRUE(platform.questions.empty());
}

}  // namespace
}  // namespace velmora
