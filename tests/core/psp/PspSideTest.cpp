#include <filesystem>
#include <tuple>

#include "support/StickFixture.h"

namespace velmora {
namespace {

using test::Strings;

// The window, whose PSP side starts on the home folder; the stick is drive 1.
class PspSide : public test::StickTest {
  protected:
    // Makes these items of listPSP the selection, the first of them the current file.
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

TEST(DriveList, StartsOnTheDriveHoldingAFolderByItsLongestRootAndFallsBackToTheFirst) {
    test::ScriptedPlatform platform;
    platform.setDrives({{"/ [root]", "/"}, {"/media/stick [PSP]", "/media/stick/"}});
    DriveList drives({}, platform);
    for (const auto& [folder, root] :
         {std::pair{"/media/stick/MP_ROOT", "/media/stick/"},
          std::pair{"/media/stick", "/media/stick/"}, std::pair{"/media/sticky", "/"}}) {
        drives.selectDriveHolding(folder);
        EXPECT_EQ(drives.Root(), root) << folder;
    }
    // A failed pick (no video folder shown) is tried again.
    drives.setListIndex(1);
    EXPECT_TRUE(drives.pickRaisesChange(1));
    drives.setPickedVolume(7);
    EXPECT_TRUE(!drives.pickRaisesChange(1) && drives.pickRaisesChange(0) &&
                !drives.pickRaisesChange(2));
    // Once gone, none is current, so that any pick is a change.
    platform.setDrives({{"/ [root]", "/"}});
    drives.Refresh();
    EXPECT_TRUE(drives.ListIndex() == -1 && !drives.pickedVolume());
}

// The stick's folders, the answer to the create question, the folder shown (none: home), asked.
using FolderCase = std::tuple<std::vector<const char*>, int, const char*, bool>;

class DriveChange : public PspSide, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(DriveChange, ShowsTheVideoFolderOfTheStickAndItsFreeSpace) {
    const auto& [folders, answer, shown, asked] = GetParam();
    std::ranges::for_each(folders, [&](const char* folder) { stick.makeFolder(folder); });
    platform.answer(answer);
    pick(form, 1);
    EXPECT_EQ(form.listPSP.Path(), shown ? stick.at(shown) : home.path());
    EXPECT_EQ(form.freePSP.Caption(), shown ? "700" : "0");
    EXPECT_EQ(stick.exists("MP_ROOT"), !folders.empty() || shown);
    // Busy while the drive is looked at and while it is listed, not while a question waits.
    EXPECT_EQ(platform.busyCursor,
              (shown ? std::vector{true, false, true, false} : std::vector{true, false}));
    ASSERT_EQ(platform.questions.size(), asked ? 1u : 0u);
    if (asked) {
        EXPECT_EQ(lastQuestion(),
                  "No Video directory found on drive e: [PSP].\r\n\r\nDo you wish to create one?");
        EXPECT_EQ(platform.questions[0].flags, mb::kYesNo | mb::kDefaultButton2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DriveChange,
    ::testing::ValuesIn(std::vector<FolderCase>{
        {{"MP_ROOT/100ANV01", "MP_ROOT/101ANV01"}, mb::kAnswerNo, "MP_ROOT/100ANV01", false},
        {{"MP_ROOT/101ANV01"}, mb::kAnswerNo, "MP_ROOT/101ANV01", false},
        {{"MP_ROOT/100anv01"}, mb::kAnswerNo, nullptr, true},  // capitals only
        {{}, mb::kAnswerYes, "MP_ROOT/100ANV01", true},
        {{"MP_ROOT/OTHER"}, mb::kAnswerYes, "MP_ROOT/100ANV01", true}}));

// One plain message, nothing made and no other disk listed, for a stick gone at the pick, whose
// video folder links to the home disk, or pulled during the create question. One that stops
// answering is gone once, whatever comes next: one message, PSP side cleared, stick untouched.
TEST_F(PspSide, NothingIsMadeListedOrDeletedOffAStickThatHasGoneLeadsOffItOrStopsAnswering) {
    const auto notFound = [&](std::size_t questions, const std::string& shown) {
        platform.answer(mb::kAnswerYes);
        pick(form, 1);
        EXPECT_EQ(platform.questions.size(), questions);
        EXPECT_EQ(lastQuestion(), "Video directory not found!");
        EXPECT_EQ(form.listPSP.Path(), shown);
        EXPECT_EQ(form.freePSP.Caption(), "0");
    };
    platform.setDrives({{"h: [HOME]", home.root()}});
    notFound(1, home.path());
    platform.setDrives({{"h: [HOME]", home.root()}, {"e: [PSP]", stick.root()}});
    stick.remove("");
    notFound(2, home.path());
    stick.makeFolder("MP_ROOT");
    std::error_code failed;
    std::filesystem::create_directory_symlink(home.path(), stick.at(kVideoFolder), failed);
    if (!failed) {                 // Windows may allow no links
        notFound(4, home.path());  // asked; Yes can't make 100ANV01 where the link is
    }
    stick.remove("MP_ROOT");
    platform.duringQuestion = [&] { platform.setVolume(stick.path(), 1); };
    notFound(platform.questions.size() + 2, "");
    EXPECT_FALSE(stick.exists("MP_ROOT"));
    // Back in, but its free space can't be read: no figure of another drive stays.
    form.freePSP.setCaption("9");
    platform.freeSpaceFails = true;
    showStick(form);
    EXPECT_EQ(form.listPSP.Path(), stick.at(kVideoFolder));
    EXPECT_EQ(form.freePSP.Caption(), "0");
    platform.freeSpaceFails = false;
    platform.duringQuestion = [] {};
    home.writeSized("clip.MP4", 2 * kMegabyte);
    form.listSource.Refresh();
    for (const auto& [control, event, code] :
         {std::tuple{"listPSP", EventKind::KeyPress, key::kCtrlR},
          {"listPSP", EventKind::Click, 0},
          {"listPSP", EventKind::KeyPress, key::kBackspace},
          {"listSource", EventKind::KeyPress, key::kCtrlC},
          {"drivePSP", EventKind::Change, 0}}) {
        platform.silentRoot.clear();
        showStick(form, {"MAQ10001.MP4", "MAQ10001.THM"});
        choose({0});
        select(form.listSource, {0});
        form.listSource_Click();
        platform.silentRoot = stick.root();
        platform.questions.clear();
        platform.answer(mb::kAnswerYes);
        form.raise(control, event, code);
        EXPECT_EQ(platform.questions.size(), 1u) << control;
        EXPECT_EQ(lastQuestion(), "Video directory not found!");
        EXPECT_TRUE(form.listPSP.ListCount() == 0 && form.freePSP.Caption() == "0" &&
                    form.drivePSP.ListIndex() == -1);
        EXPECT_EQ(stickFiles(), (Strings{"MAQ10001.MP4", "MAQ10001.THM"}));
        EXPECT_TRUE(platform.deletions.empty());
    }
}

TEST_F(PspSide, CtrlRInTheDriveListReReadsTheDrivesOnlyAndInTheListEverything) {
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM"});
    stick.writeSized(inVideoFolder("MAQ10002.MP4"), 3 * kMegabyte);
    platform.setFreeBytes(stick.root(), (4ull << 40) + 650 * kMegabyte);  // 4 TiB
    platform.setDrives({{"e: [PSP]", stick.root()}});
    form.drivePSP_KeyPress(key::kBackspace);
    form.raise("drivePSP", EventKind::KeyPress, key::kCtrlR);
    EXPECT_EQ(std::tuple(form.drivePSP.entries().size(), form.drivePSP.Drive(),
                         form.listPSP.ListCount(), form.freePSP.Caption()),
              std::tuple(1u, "e: [PSP]", 1, "700"));
    choose({0});
    form.sizePSP.setCaption("99");
    form.raise("listPSP", EventKind::KeyPress, key::kCtrlR);
    EXPECT_EQ(listed(form.listPSP), (Strings{"MAQ10001.MP4", "MAQ10002.MP4"}));
    EXPECT_EQ(std::tuple(form.freePSP.Caption(), selected(form.listPSP), form.sizePSP.Caption()),
              std::tuple("4194954", std::vector<int>{0}, "0"));
    EXPECT_NE(form.picPSP.picture(), nullptr);
    // Gone, the stick takes the PSP side with it; one gone from under its folder is told once.
    for (const VolumeId volume : {kStickVolume, VolumeId{9}}) {
        showStick(form);
        platform.questions.clear();
        platform.setVolume(stick.path(), volume);
        platform.setDrives({});
        form.raise("listPSP", EventKind::KeyPress, key::kCtrlR);
        EXPECT_TRUE(form.listPSP.ListCount() == 0 && form.freePSP.Caption() == "0" &&
                    form.drivePSP.ListIndex() == -1);
        EXPECT_EQ(lastQuestion(), volume == kStickVolume ? "" : "Video directory not found!");
        platform.setDrives({{"h: [HOME]", home.root()}, {"e: [PSP]", stick.root()}});
        form.drivePSP.Refresh();
    }
}

// Only in the video folder of the stick picked: one still shown after another drive's pick was
// declined is no more picked than the working folder shown at start-up (the same test).
TEST_F(PspSide, DeletesSelectedVideosAndThumbnailsInListOrderOnBackspaceAndYesPassingOverFailures) {
    // A.MP4 sorts first, and its thumbnail is named by its first eight characters.
    showStick(form, {"MAQ10001.MP4", "MAQ10001.THM", "MAQ10002.MP4", "MAQ10003.MP4", "maq10003.thm",
                     "A.MP4", "A.MP4.THM"});
    pick(form, 0);  // the home drive has no video folder: No
    choose({0});
    deleteChosen();
    EXPECT_TRUE(platform.deletions.empty());
    platform.questions.clear();
    pick(form, 1);
    select(form.listPSP, {0});
    for (const std::int16_t code : std::initializer_list<std::int16_t>{0, 3, 8, 13, 27}) {
        form.listPSP_KeyPress(code);  // Backspace too: there is no current file yet
    }
    EXPECT_TRUE(platform.questions.empty());
    form.listPSP.setListIndex(0);
    form.listPSP_KeyPress(key::kBackspace);  // answered No
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(std::tuple(platform.questions[0].title, platform.questions[0].flags),
              std::tuple("Confirm Deletion", mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2));
    EXPECT_TRUE(platform.deletions.empty());

    choose({3, 2, 0});
    form.sizePSP.setCaption("42");
    platform.setFreeBytes(stick.root(), 800 * kMegabyte);
    deleteChosen();
    EXPECT_EQ(platform.deletions,
              (Strings{video("A.MP4"), video("A.MP4.THM"), video("MAQ10002.MP4"),
                       video("MAQ10003.MP4"), video("MAQ10003.THM")}));
    EXPECT_EQ(stickFiles(), (Strings{"MAQ10001.MP4", "MAQ10001.THM"}));
    EXPECT_EQ(listed(form.listPSP), Strings{"MAQ10001.MP4"});
    EXPECT_EQ(form.freePSP.Caption(), "800");
    EXPECT_EQ(form.sizePSP.Caption(), "42");  // left to the next click or refresh
    // Failing steps are passed over silently, and a thumbnail stays while a video shares it: every
    // one of the HOLIDAY names gives HOLIDAY1.THM by the eight-character rule.
    platform.questions.clear();
    showStick(form,
              {"HOLIDAY1A.MP4", "HOLIDAY1B.MP4", "HOLIDAY1C.MP4", "HOLIDAY1.THM", "MAQ10001.MP4",
               "MAQ10001.THM", "MAQ10002.MP4", "MAQ10002.THM", "MAQ10003.MP4", "MAQ10003.THM"});
    choose({0, 3, 4, 5});
    stick.remove(inVideoFolder("MAQ10001.MP4"));              // already gone
    platform.failingDeletions.insert(video("MAQ10002.MP4"));  // in use
    platform.failingDeletions.insert(video("MAQ10003.THM"));  // read-only
    platform.freeSpaceFails = true;
    deleteChosen();
    EXPECT_EQ(platform.questions.size(), 1u);
    // A video that stays keeps nobody else's thumbnail, so its own goes with the request.
    EXPECT_EQ(stickFiles(), (Strings{"HOLIDAY1.THM", "HOLIDAY1B.MP4", "HOLIDAY1C.MP4",
                                     "MAQ10002.MP4", "MAQ10003.THM"}));
    EXPECT_EQ(listed(form.listPSP), (Strings{"HOLIDAY1B.MP4", "HOLIDAY1C.MP4", "MAQ10002.MP4"}));
    EXPECT_EQ(form.freePSP.Caption(), "0");
    // A sharer whose deletion failed earlier in the loop is still in the folder as well.
    choose({0, 1});
    platform.failingDeletions.insert(video("HOLIDAY1B.MP4"));
    deleteChosen();
    EXPECT_EQ(stickFiles(),
              (Strings{"HOLIDAY1.THM", "HOLIDAY1B.MP4", "MAQ10002.MP4", "MAQ10003.THM"}));
}

}  // namespace
}  // namespace velmora
