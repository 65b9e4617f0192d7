#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "support/StickFixture.h"

namespace velmora {
namespace {

// The folders on the stick before it is picked, the answer to the create question, and the
// folder listPSP then shows (none: it stays on the home folder).
struct FolderCase {
    std::vector<const char*> folders;
    int answer;
    const char* shown;
    bool asked;
};

class PspDrive : public test::StickTest {
  protected:
    MainForm form{platform};
};

class DriveChange : public PspDrive, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(DriveChange, ShowsTheVideoFolderOfTheStickAndItsFreeSpace) {
    for (const char* folder : GetParam().folders) {
        stick.makeFolder(folder);
    }
    platform.answer(GetParam().answer);
    pick(form, kStick);
    const char* shown = GetParam().shown;
    EXPECT_EQ(form.listPSP.Path(), shown ? stick.at(shown) : home.path());
    EXPECT_EQ(form.freePSP.Caption(), shown ? "700" : "0");
    EXPECT_EQ(stick.exists("MP_ROOT"), !GetParam().folders.empty() || shown);
    ASSERT_EQ(platform.questions.size(), GetParam().asked ? 1u : 0u);
    if (GetParam().asked) {
        EXPECT_EQ(platform.questions[0].text,
                  "No Video directory found on drive e: [PSP].\r\n\r\nDo you wish to create one?");
        EXPECT_EQ(platform.questions[0].flags, mb::kYesNo | mb::kDefaultButton2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DriveChange,
    ::testing::Values(
        FolderCase{
            {"MP_ROOT/100ANV01", "MP_ROOT/101ANV01"}, mb::kAnswerNo, "MP_ROOT/100ANV01", false},
        FolderCase{{"MP_ROOT/101ANV01"}, mb::kAnswerNo, "MP_ROOT/101ANV01", false},
        FolderCase{{"MP_ROOT/100anv01"}, mb::kAnswerNo, nullptr, true},  // capitals only
        FolderCase{{}, mb::kAnswerNo, nullptr, true},
        FolderCase{{}, mb::kAnswerYes, "MP_ROOT/100ANV01", true},
        FolderCase{{"MP_ROOT/OTHER"}, mb::kAnswerYes, "MP_ROOT/100ANV01", true}));

TEST_F(PspDrive, ADriveThatHasGoneOffersToMakeNothing) {
    stick.remove("");
    platform.answer(mb::kAnswerYes);
    pick(form, kStick);
    // One plain message, and the list and the figure still on the drive the user came from.
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, "Video directory not found!");
    EXPECT_EQ(form.listPSP.Path(), home.path());
    EXPECT_EQ(form.freePSP.Caption(), "0");
}

TEST_F(PspDrive, CtrlRInTheDriveListReReadsTheDrivesOnly) {
    showStick(form);
    stick.write(inVideoFolder("MAQ10001.MP4"));
    platform.setFreeBytes(stick.root(), 0);
    platform.setDrives({{"e: [PSP]", stick.root()}});
    form.drivePSP_KeyPress(key::kBackspace);
    EXPECT_EQ(form.drivePSP.entries().size(), 2u);
    form.raise("drivePSP", EventKind::KeyPress, key::kCtrlR);
    EXPECT_EQ(form.drivePSP.entries().size(), 1u);
    EXPECT_EQ(form.drivePSP.Drive(), "e: [PSP]");
    EXPECT_EQ(form.listPSP.ListCount(), 0);
    EXPECT_EQ(form.freePSP.Caption(), "700");
}

}  // namespace
}  // namespace velmora
