#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "support/StickFixture.h"

namespace velmora {
namespace {

using Strings = std::vector<std::string>;

// A window on the stick's video folder; the keys act on the current file and the selection.
class PspListKeys : public test::StickTest {
  protected:
    void choose(std::initializer_list<int> items) {
        select(form.listPSP, items);
        form.listPSP.setListIndex(*items.begin());
    }
    void deleteChosen() {
        platform.answer(mb::kAnswerYes);
        form.listPSP_KeyPress(key::kBackspace);
    }
    std::string video(const std::string& name) const { return stick.at(inVideoFolder(name)); }
    MainForm form{platform};
};

TEST_F(PspListKeys, CtrlRRefreshesTheDrivesTheListTheFreeSpaceAndTheSummary) {
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM"});
    stick.writeSized(inVideoFolder("MAQ10002.MP4"), 3 * kMegabyte);
    platform.setFreeBytes(stick.root(), (4ull << 40) + 650 * kMegabyte);  // 4 TiB
    platform.setDrives({{"e: [PSP]", stick.root()}});
    choose({0});
    form.sizePSP.setCaption("99");
    form.raise("listPSP", EventKind::KeyPress, key::kCtrlR);
    EXPECT_EQ(form.drivePSP.entries().size(), 1u);
    EXPECT_EQ(listed(form.listPSP), (Strings{"MAQ10001.MP4", "MAQ10002.MP4"}));
    EXPECT_EQ(form.freePSP.Caption(), "4194954");
    EXPECT_EQ(selected(form.listPSP), std::vector<int>{0});
    EXPECT_EQ(form.sizePSP.Caption(), "0");
    EXPECT_NE(form.picPSP.picture(), nullptr);
}

TEST_F(PspListKeys, OtherKeysBackspaceWithoutACurrentFileAndAnswerNoDoNothing) {
    showStick(form, {"MAQ10001.MP4"});
    select(form.listPSP, {0});
    stick.write(inVideoFolder("MAQ10002.MP4"));
    platform.setFreeBytes(stick.root(), 0);
    for (const std::int16_t code : std::initializer_list<std::int16_t>{0, 3, 8, 13, 27, 127}) {
        form.listPSP_KeyPress(code);
    }
    EXPECT_TRUE(platform.questions.empty());
    form.listPSP.setListIndex(0);
    form.listPSP_KeyPress(key::kBackspace);
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].title, "Confirm Deletion");
    EXPECT_EQ(platform.questions[0].flags, mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2);
    EXPECT_TRUE(platform.deletions.empty());
    EXPECT_EQ(form.listPSP.ListCount(), 1);
    EXPECT_EQ(form.freePSP.Caption(), "700");
}

TEST_F(PspListKeys, DeletesSelectedVideosAndTheirThumbnailsInListOrder) {
    // A.MP4 sorts first, and its thumbnail is named by its first eight characters.
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM", "MAQ10002.MP4", "MAQ10003.MP4", "maq10003.thm",
                     "A.MP4", "A.MP4.THM"});
    choose({3, 2, 0});
    form.sizePSP.setCaption("42");
    platform.setFreeBytes(stick.root(), 800 * kMegabyte);
    deleteChosen();
    EXPECT_EQ(platform.deletions,
              (Strings{video("A.MP4"), video("A.MP4.THM"), video("MAQ10002.MP4"),
                       video("MAQ10003.MP4"), video("MAQ10003.THM")}));
    EXPECT_EQ(stick.names(kVideoFolder), (Strings{"MAQ10001.MP4", "MAQ10001.THM"}));
    EXPECT_EQ(listed(form.listPSP), Strings{"MAQ10001.MP4"});
    EXPECT_EQ(form.freePSP.Caption(), "800");
    EXPECT_EQ(form.sizePSP.Caption(), "42");  // left to the next click or refresh
}

TEST_F(PspListKeys, FailingStepsArePassedOverSilently) {
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM", "MAQ10002.MP4", "MAQ10002.THM", "MAQ10003.MP4",
                     "MAQ10003.THM"});
    choose({0, 1, 2});
    stick.remove(inVideoFolder("MAQ10001.MP4"));              // already gone
    platform.failingDeletions.insert(video("MAQ10002.MP4"));  // in use
    platform.failingDeletions.insert(video("MAQ10003.THM"));  // read-only
    platform.freeSpaceFails = true;
    deleteChosen();
    EXPECT_EQ(platform.questions.size(), 1u);
    // A video that stays keeps nobody else's thumbnail, so its own goes with the request.
    EXPECT_EQ(stick.names(kVideoFolder), (Strings{"MAQ10002.MP4", "MAQ10003.THM"}));
    EXPECT_EQ(listed(form.listPSP), Strings{"MAQ10002.MP4"});
    EXPECT_EQ(form.freePSP.Caption(), "700");
}

TEST_F(PspListKeys, AThumbnailStaysWhileAVideoThatStaysSharesIt) {
    // Every one of these names gives HOLIDAY1.THM by the eight-character rule.
    showStick(form, {"HOLIDAY1A.MP4", "HOLIDAY1B.MP4", "HOLIDAY1C.MP4", "HOLIDAY1.THM"});
    choose({0});
    deleteChosen();
    EXPECT_TRUE(stick.exists(inVideoFolder("HOLIDAY1.THM")));

    // A sharer whose deletion failed earlier in the loop is still in the folder as well.
    choose({0, 1});
    platform.failingDeletions.insert(video("HOLIDAY1B.MP4"));
    deleteChosen();
    EXPECT_EQ(stick.names(kVideoFolder), (Strings{"HOLIDAY1.THM", "HOLIDAY1B.MP4"}));

    platform.failingDeletions.clear();
    choose({0});
    deleteChosen();
    EXPECT_TRUE(stick.names(kVideoFolder).empty());
}

}  // namespace
}  // namespace velmora
