#include <gtest/gtest.h>

#include <filesystem>

#include "app/MainForm.h"
#include "core/psp/StickFixture.h"

namespace velmora {
namespace {

// A window showing the stick's video folder with the given files; the stick's free space
// reads 700.
class PspListKeys : public test::StickTest {
  protected:
    void showStick(MainForm& form, std::initializer_list<const char*> files) {
        for (const char* name : files) {
            stick.write(std::string("MP_ROOT/100ANV01/") + name, test::kJpegBytes);
        }
        stick.makeFolder("MP_ROOT/100ANV01");
        pick(form, kStick);
        ASSERT_EQ(form.freePSP.Caption(), "700");
    }
    std::string video(const std::string& name) const {
        return stick.at("MP_ROOT/100ANV01/" + name);
    }
    bool onStick(const std::string& name) const { return stick.exists("MP_ROOT/100ANV01/" + name); }
    void select(MainForm& form, std::initializer_list<int> items) {
        for (int i : items) {
            form.listPSP.setSelected(i, true);
            form.listPSP.setListIndex(i);
        }
    }
    std::vector<std::string> names(const MainForm& form) const {
        std::vector<std::string> listed;
        for (int i = 0; i < form.listPSP.ListCount(); ++i) {
            listed.push_back(form.listPSP.List(i));
        }
        return listed;
    }
};

// ----- Ctrl-R -----------------------------------------------------------------------------

TEST_F(PspListKeys, CtrlRRefreshesDrivesListFreeSpaceAndSummary) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM"});
    stick.writeSized("MP_ROOT/100ANV01/MAQ10002.MP4", 3 * kMegabyte);
    platform.setFreeBytes(stick.root(), 650 * kMegabyte);
    platform.setDrives({{kStickDrive, stick.root()}});
    select(form, {0});

    std::int16_t code = key::kCtrlR;
    form.listPSP_KeyPress(code);
    EXPECT_EQ(code, key::kCtrlR);
    EXPECT_EQ(form.drivePSP.entries().size(), 1u);
    EXPECT_EQ(names(form), (std::vector<std::string>{"MAQ10001.MP4", "MAQ10002.MP4"}));
    EXPECT_EQ(form.freePSP.Caption(), "650");
    EXPECT_TRUE(form.listPSP.Selected(0));
    EXPECT_EQ(form.sizePSP.Caption(), "0");
    ASSERT_NE(form.picPSP.picture(), nullptr);
    EXPECT_TRUE(platform.questions.empty());
}

TEST_F(PspListKeys, CtrlRWithNothingSelectedStillRecomputesTheSummary) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4"});
    form.sizePSP.setCaption("99");
    form.listPSP_KeyPress(key::kCtrlR);
    EXPECT_EQ(form.sizePSP.Caption(), "0");
}

TEST_F(PspListKeys, CtrlRKeepsTheListsFolderAndMeasuresTheChosenDrive) {
    // After a declined question the list still shows the home folder, the drive is the stick.
    MainForm form(platform);
    pick(form, kStick);
    home.write("second.MP4");
    form.listPSP_KeyPress(key::kCtrlR);
    EXPECT_EQ(form.listPSP.Path(), home.path());
    EXPECT_EQ(names(form), (std::vector<std::string>{"home.MP4", "second.MP4"}));
    EXPECT_EQ(form.freePSP.Caption(), "700");
    EXPECT_FALSE(stick.exists("MP_ROOT"));
}

TEST_F(PspListKeys, OtherKeysDoNothing) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4"});
    select(form, {0});
    stick.write("MP_ROOT/100ANV01/MAQ10002.MP4");
    for (const std::int16_t code : std::initializer_list<std::int16_t>{0, 3, 13, 27, 127}) {
        form.listPSP_KeyPress(code);
    }
    EXPECT_EQ(form.listPSP.ListCount(), 1);
    EXPECT_TRUE(onStick("MAQ10001.MP4"));
    EXPECT_TRUE(platform.questions.empty());
}

// ----- Backspace --------------------------------------------------------------------------

TEST_F(PspListKeys, BackspaceWithoutACurrentFileAsksNothing) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4"});
    form.listPSP.setSelected(0, true);
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_TRUE(onStick("MAQ10001.MP4"));
}

TEST_F(PspListKeys, AnswerNoDeletesRefreshesAndMeasuresNothing) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM"});
    select(form, {0});
    stick.write("MP_ROOT/100ANV01/MAQ10002.MP4");
    platform.setFreeBytes(stick.root(), 0);
    form.listPSP_KeyPress(key::kBackspace);

    ASSERT_EQ(platform.questions.size(), 1u);
    const auto& question = platform.questions[0];
    EXPECT_EQ(question.text, "Do you wish to delete the selected files from your PSP?");
    EXPECT_EQ(question.title, "Confirm Deletion");
    EXPECT_EQ(question.flags, mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2);
    EXPECT_EQ(question.flags, 292);
    EXPECT_TRUE(platform.deletions.empty());
    EXPECT_EQ(form.listPSP.ListCount(), 1);
    EXPECT_EQ(form.freePSP.Caption(), "700");
}

TEST_F(PspListKeys, YesWithNothingSelectedOnlyRefreshesAndMeasures) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4"});
    form.listPSP.setListIndex(0);
    stick.write("MP_ROOT/100ANV01/MAQ10002.MP4");
    platform.setFreeBytes(stick.root(), 2 * kMegabyte);
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_TRUE(platform.deletions.empty());
    EXPECT_EQ(form.listPSP.ListCount(), 2);
    EXPECT_EQ(form.freePSP.Caption(), "2");
}

TEST_F(PspListKeys, DeletesSelectedVideosAndTheirThumbnailsInListOrder) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM", "MAQ10002.MP4", "MAQ10003.MP4", "MAQ10003.THM",
                     "A.MP4", "A.MP4.THM"});
    // A.MP4 sorts first: A, MAQ10001, MAQ10002, MAQ10003.
    select(form, {3, 2, 0});
    form.sizePSP.setCaption("42");
    platform.setFreeBytes(stick.root(), 800 * kMegabyte);
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);

    EXPECT_EQ(platform.deletions,
              (std::vector<std::string>{video("A.MP4"), video("A.MP4.THM"), video("MAQ10002.MP4"),
                                        video("MAQ10003.MP4"), video("MAQ10003.THM")}));
    EXPECT_EQ(names(form), std::vector<std::string>{"MAQ10001.MP4"});
    EXPECT_TRUE(onStick("MAQ10001.THM"));
    EXPECT_EQ(form.freePSP.Caption(), "800");
    // A deletion leaves the summary to the next click or refresh.
    EXPECT_EQ(form.sizePSP.Caption(), "42");
}

TEST_F(PspListKeys, FailingStepsArePassedOverSilently) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM", "MAQ10002.MP4", "MAQ10002.THM", "MAQ10003.MP4",
                     "MAQ10003.THM"});
    select(form, {0, 1, 2});
    std::filesystem::remove(video("MAQ10001.MP4"));           // already gone
    platform.failingDeletions.insert(video("MAQ10002.MP4"));  // in use
    platform.failingDeletions.insert(video("MAQ10003.THM"));  // read-only
    platform.freeSpaceFails = true;
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);

    EXPECT_EQ(platform.questions.size(), 1u);
    EXPECT_FALSE(onStick("MAQ10001.THM"));
    EXPECT_TRUE(onStick("MAQ10002.MP4"));
    EXPECT_FALSE(onStick("MAQ10002.THM"));  // its video stays, yet the thumbnail goes with it
    EXPECT_FALSE(onStick("MAQ10003.MP4"));
    EXPECT_TRUE(onStick("MAQ10003.THM"));
    EXPECT_EQ(names(form), std::vector<std::string>{"MAQ10002.MP4"});
    EXPECT_EQ(form.freePSP.Caption(), "700");
}

TEST_F(PspListKeys, DeletionFindsThumbnailsInAnyLetterCase) {
    MainForm form(platform);
    showStick(form, {"MAQ10001.MP4", "maq10001.thm"});
    select(form, {0});
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_FALSE(onStick("maq10001.thm"));
}

TEST_F(PspListKeys, AThumbnailSharedWithAVideoThatStaysIsKept) {
    // Both long names give HOLIDAY1.THM by the eight-character rule.
    MainForm form(platform);
    showStick(form, {"HOLIDAY1A.MP4", "HOLIDAY1B.MP4", "HOLIDAY1C.MP4", "HOLIDAY1.THM"});
    select(form, {0});
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_FALSE(onStick("HOLIDAY1A.MP4"));
    EXPECT_TRUE(onStick("HOLIDAY1.THM"));

    // A sharer whose deletion failed earlier in the loop is still in the folder as well.
    select(form, {0, 1});
    platform.failingDeletions.insert(video("HOLIDAY1B.MP4"));
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_FALSE(onStick("HOLIDAY1C.MP4"));
    EXPECT_TRUE(onStick("HOLIDAY1.THM"));

    platform.failingDeletions.clear();
    select(form, {0});
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_EQ(form.listPSP.ListCount(), 0);
    EXPECT_FALSE(onStick("HOLIDAY1.THM"));
}

TEST_F(PspListKeys, AThumbnailGoesWithTheLastOfTheVideosSharingIt) {
    MainForm form(platform);
    showStick(form, {"HOLIDAY1A.MP4", "HOLIDAY1B.MP4", "HOLIDAY1.THM"});
    select(form, {0, 1});
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_EQ(platform.deletions,
              (std::vector<std::string>{video("HOLIDAY1A.MP4"), video("HOLIDAY1B.MP4"),
                                        video("HOLIDAY1.THM")}));
}

TEST_F(PspListKeys, DeletionActsOnTheListsFolderButMeasuresTheChosenDrive) {
    MainForm form(platform);
    pick(form, kStick);  // declined: the list still shows the home folder
    select(form, {0});
    platform.answer(mb::kAnswerYes);
    form.listPSP_KeyPress(key::kBackspace);
    EXPECT_FALSE(home.exists("home.MP4"));
    EXPECT_EQ(form.freePSP.Caption(), "700");
}

}  // namespace
}  // namespace velmora
