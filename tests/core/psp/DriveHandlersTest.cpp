#include <gtest/gtest.h>

#include <filesystem>

#include "app/MainForm.h"
#include "core/psp/StickFixture.h"

namespace velmora {
namespace {

using DriveChange = test::StickTest;

constexpr const char* kCreateQuestion =
    "No Video directory found on drive e: [PSP].\r\n\r\nDo you wish to create one?";

// ----- a stick that already has a video folder --------------------------------------------

TEST_F(DriveChange, PrefersTheFirstVideoFolderWhenTheStickHasBoth) {
    stick.write("MP_ROOT/100ANV01/MAQ10001.MP4");
    stick.write("MP_ROOT/101ANV01/MAQ20001.MP4");
    MainForm form(platform);
    pick(form, kStick);
    EXPECT_EQ(form.listPSP.Path(), stick.at("MP_ROOT/100ANV01"));
    ASSERT_EQ(form.listPSP.ListCount(), 1);
    EXPECT_EQ(form.listPSP.List(0), "MAQ10001.MP4");
    EXPECT_EQ(form.freePSP.Caption(), "700");
    EXPECT_TRUE(platform.questions.empty());
}

TEST_F(DriveChange, UsesTheSecondVideoFolderWithoutAQuestion) {
    stick.write("MP_ROOT/101ANV01/MAQ20001.MP4");
    stick.write("MP_ROOT/101ANV01/MAQ20001.THM");
    MainForm form(platform);
    form.sizePSP.setCaption("12");
    pick(form, kStick);
    EXPECT_EQ(form.listPSP.Path(), stick.at("MP_ROOT/101ANV01"));
    EXPECT_EQ(form.listPSP.ListCount(), 1);
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_FALSE(stick.exists("MP_ROOT/100ANV01"));
    // A change of drive leaves the selection summary alone.
    EXPECT_EQ(form.sizePSP.Caption(), "12");
    EXPECT_EQ(form.picPSP.picture(), nullptr);
}

TEST_F(DriveChange, TakesOnlyAVideoFolderSpeltInCapitals) {
    stick.makeFolder("MP_ROOT/100anv01");
    MainForm form(platform);
    pick(form, kStick);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, kCreateQuestion);
}

// ----- a stick without one: the question -------------------------------------------------

TEST_F(DriveChange, AnswerNoLeavesTheStickTheListAndTheFigureAsTheyWere) {
    MainForm form(platform);
    pick(form, kOther);  // no video folder there either: answered No by default
    platform.questions.clear();
    form.freePSP.setCaption("33");
    pick(form, kStick);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, kCreateQuestion);
    EXPECT_EQ(platform.questions[0].flags, mb::kYesNo | mb::kDefaultButton2);
    EXPECT_EQ(platform.questions[0].flags, 260);
    EXPECT_FALSE(platform.questions[0].title.has_value());
    EXPECT_FALSE(stick.exists("MP_ROOT"));
    EXPECT_EQ(form.listPSP.Path(), home.path());
    EXPECT_EQ(form.freePSP.Caption(), "33");
}

TEST_F(DriveChange, AnswerYesMakesBothFoldersAndShowsTheEmptyList) {
    MainForm form(platform);
    platform.answer(mb::kAnswerYes);
    pick(form, kStick);
    EXPECT_TRUE(std::filesystem::is_directory(stick.at("MP_ROOT/100ANV01")));
    EXPECT_FALSE(stick.exists("MP_ROOT/101ANV01"));
    EXPECT_EQ(form.listPSP.Path(), stick.at("MP_ROOT/100ANV01"));
    EXPECT_EQ(form.listPSP.ListCount(), 0);
    EXPECT_EQ(form.freePSP.Caption(), "700");
    EXPECT_EQ(platform.questions.size(), 1u);  // and no message after it
}

TEST_F(DriveChange, AnswerYesMakesOnlyTheVideoFolderInsideAnExistingMediaFolder) {
    stick.write("MP_ROOT/OTHER/keep.txt", "kept");
    MainForm form(platform);
    platform.answer(mb::kAnswerYes);
    pick(form, kStick);
    EXPECT_TRUE(std::filesystem::is_directory(stick.at("MP_ROOT/100ANV01")));
    EXPECT_EQ(stick.read("MP_ROOT/OTHER/keep.txt"), "kept");
    EXPECT_EQ(form.listPSP.Path(), stick.at("MP_ROOT/100ANV01"));
}

// ----- failures ---------------------------------------------------------------------------

class DriveChangeFailure : public test::StickTest {
  protected:
    // A window that shows the other drive's video folder and figure before the failing pick.
    void startOnOtherDrive(MainForm& form) {
        other.write("MP_ROOT/100ANV01/MAQ30001.MP4");
        pick(form, kOther);
        ASSERT_EQ(form.freePSP.Caption(), "9");
    }
    void expectOneMessage() {
        ASSERT_EQ(platform.questions.size(), 1u);
        EXPECT_EQ(platform.questions[0].text, "Video directory not found!");
        EXPECT_EQ(platform.questions[0].flags, mb::kOk);
        EXPECT_FALSE(platform.questions[0].title.has_value());
    }
};

TEST_F(DriveChangeFailure, ADriveThatHasGoneKeepsThePreviousListAndFigure) {
    MainForm form(platform);
    startOnOtherDrive(form);
    std::filesystem::remove_all(stick.path());
    pick(form, kStick);
    expectOneMessage();
    EXPECT_EQ(form.listPSP.Path(), other.at("MP_ROOT/100ANV01"));
    EXPECT_EQ(form.freePSP.Caption(), "9");
    EXPECT_FALSE(stick.exists("MP_ROOT"));
}

TEST_F(DriveChangeFailure, AFolderThatCannotBeMadeStopsAfterTheQuestion) {
    stick.write("MP_ROOT", "a file where the folder should be");
    MainForm form(platform);
    startOnOtherDrive(form);
    platform.answer(mb::kAnswerYes);
    pick(form, kStick);
    ASSERT_EQ(platform.questions.size(), 2u);
    platform.questions.erase(platform.questions.begin());
    expectOneMessage();
    EXPECT_EQ(form.listPSP.Path(), other.at("MP_ROOT/100ANV01"));
    EXPECT_EQ(form.freePSP.Caption(), "9");
}

TEST_F(DriveChangeFailure, AFreeSpaceThatCannotBeMeasuredKeepsTheFigureButNotTheList) {
    stick.makeFolder("MP_ROOT/100ANV01");
    MainForm form(platform);
    startOnOtherDrive(form);
    platform.freeSpaceFails = true;
    pick(form, kStick);
    expectOneMessage();
    EXPECT_EQ(form.listPSP.Path(), stick.at("MP_ROOT/100ANV01"));
    EXPECT_EQ(form.freePSP.Caption(), "9");
}

TEST_F(DriveChangeFailure, NoDriveAtAllMakesNothingAnywhere) {
    platform.setDrives({});
    MainForm form(platform);
    platform.answer(mb::kAnswerYes);
    form.drivePSP_Change();
    expectOneMessage();
    EXPECT_FALSE(std::filesystem::exists("MP_ROOT"));
}

// ----- Ctrl-R in the drive list -----------------------------------------------------------

TEST_F(DriveChange, CtrlRReReadsTheDrivesOnly) {
    stick.makeFolder("MP_ROOT/100ANV01");
    MainForm form(platform);
    pick(form, kStick);
    stick.write("MP_ROOT/100ANV01/MAQ10001.MP4");
    platform.setFreeBytes(stick.root(), 0);
    platform.setDrives({{"h: [HOME]", home.root()}, {kStickDrive, stick.root()}});

    form.drivePSP_KeyPress(key::kBackspace);
    EXPECT_EQ(form.drivePSP.entries().size(), 3u);
    std::int16_t code = key::kCtrlR;
    form.drivePSP_KeyPress(code);
    EXPECT_EQ(code, key::kCtrlR);
    EXPECT_EQ(form.drivePSP.entries().size(), 2u);
    EXPECT_EQ(form.drivePSP.Drive(), kStickDrive);
    EXPECT_EQ(form.listPSP.ListCount(), 0);
    EXPECT_EQ(form.freePSP.Caption(), "700");
    EXPECT_TRUE(platform.questions.empty());
}

}  // namespace
}  // namespace velmora
