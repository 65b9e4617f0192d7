#include <algorithm>
#include <tuple>

#include "support/StickFixture.h"

namespace velmora {
namespace {

using test::Strings;
constexpr const char* kNotEnoughSpace = "There is not enough free space on the PSP!";
constexpr const char* kConfirm = "Do you wish to copy the selected files to your PSP?";
constexpr const char* kPickFirst = "Pick the PSP's drive first.";

class CopyToPsp : public test::StickTest {
  protected:
    // The draw that gives a name prefix: the middle of its slice of [0, 1).
    static double drawFor(int prefix) { return (prefix - 100 + 0.5) / 801; }
    // Videos of whole megabytes whose bytes tell each from the others.
    void addVideos(std::initializer_list<std::string> names, int megabytes = 1) const {
        for (const std::string& name : names) {
            home.write(name, std::string(megabytes * kMegabyte, name[0]));
        }
    }
    void addThumbnail(const std::string& name) const { home.write(name, test::kJpegBytes + name); }
    // The window on the stick with these items selected, the copy's answers scripted.
    void ready(std::initializer_list<int> items, int prefix) {
        showStick(form);
        form.listSource.Refresh();
        select(form.listSource, items);
        form.listSource_Click();
        platform.drawNext(drawFor(prefix));
        platform.answer(mb::kAnswerYes);
        platform.busyCursor.clear();  // the drive's, while it was picked
    }
    bool copiedIntact(const std::string& onStickName, const std::string& homeName) const {
        return stick.read(inVideoFolder(onStickName)) == home.read(homeName);
    }
    MainForm form{platform};
};

// Clicks and keys of assistive tools, which no input gate sees, are ignored during the copy;
// drives that the system tells of meanwhile are read once the run is over.
TEST_F(CopyToPsp, CopiesEachSelectedVideoWithItsThumbnailAndRefreshesThePspSideAfterEach) {
    const std::string unicode = "Çà et là — 東京 ☃";  // sorts last
    for (const std::string& name : {std::string("Alpha"), std::string("gamma"), unicode}) {
        addVideos({name + ".MP4"});
        addThumbnail(name + ".THM");
    }
    addVideos({"beta.mp4"}, 2);
    ready({0, 1, 3}, 123);
    ASSERT_EQ(form.sizeSource.Caption(), "4");
    int focusRequests = 0;
    form.listSource.focusRequested.connect([&focusRequests] { ++focusRequests; });
    std::vector<int> listedAtRefresh;
    form.listPSP.itemsChanged.connect([&] { listedAtRefresh.push_back(form.listPSP.ListCount()); });
    test::TempFolder newStick;
    int drivesReadMeanwhile = 0;
    platform.duringShellCopy = [&] {
        form.raise("btnCopy", EventKind::Click);
        form.raise("listPSP", EventKind::KeyPress, key::kBackspace);
        const int before = platform.driveReads;
        platform.setDrives({{"e: [PSP]", stick.root()}, {"f: [NEW]", newStick.root()}});
        form.drivesChanged();
        form.drivesChanged();
        drivesReadMeanwhile += platform.driveReads - before;
    };
    int refreshesAfterTheRun = 0;
    form.drivePSP.entriesChanged.connect([&] { refreshesAfterTheRun += focusRequests; });

    form.raise("btnCopy", EventKind::Click);

    EXPECT_EQ(stickFiles(), (Strings{"MAQ12301.MP4", "MAQ12301.THM", "MAQ12302.MP4", "MAQ12304.MP4",
                                     "MAQ12304.THM"}));
    EXPECT_TRUE(copiedIntact("MAQ12302.MP4", "beta.mp4"));
    EXPECT_TRUE(copiedIntact("MAQ12304.MP4", unicode + ".MP4"));
    EXPECT_TRUE(copiedIntact("MAQ12304.THM", unicode + ".THM"));
    EXPECT_EQ(listedAtRefresh, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(platform.busyCursor, (std::vector<bool>{true, false, true, false, true, false}));
    EXPECT_TRUE(selected(form.listSource).empty());
    EXPECT_EQ(form.sizeSource.Caption(), "0");
    EXPECT_EQ(focusRequests, 1);
    EXPECT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(drivesReadMeanwhile, 0);
    EXPECT_EQ(refreshesAfterTheRun, 1);
    EXPECT_EQ(form.drivePSP.Drive(), "e: [PSP]");
}

// Another window takes a name of the run: the item draws a prefix anew, kept by those after it.
// A name taken again and again stops the run with a message.
TEST_F(CopyToPsp, ANameTakenMeanwhileDrawsANewPrefixRatherThanStopping) {
    addVideos({"a.MP4", "b.MP4", "b.THM", "c.MP4", "d.MP4"});
    platform.duringShellCopy = [&] {
        if (platform.shellCopies == 0) {
            stick.write(inVideoFolder("MAQ55502.THM"), "theirs");
        }
    };
    for (const int copy : {3, 5, 6, 7, 8}) {
        platform.shellCopyEnds[copy] = {1, false, true};
    }
    ready({0, 1, 2, 3}, 555);
    platform.drawNext(drawFor(777));
    platform.drawNext(drawFor(888));  // then 100, again and again
    form.raise("btnCopy", EventKind::Click);
    EXPECT_EQ(stickFiles(), (Strings{"MAQ55501.MP4", "MAQ55502.THM", "MAQ77702.MP4", "MAQ77702.THM",
                                     "MAQ88803.MP4"}));
    EXPECT_TRUE(copiedIntact("MAQ77702.THM", "b.THM"));
    EXPECT_EQ(selected(form.listSource), std::vector<int>{3});
    EXPECT_EQ(platform.shellCopies, 8) << "an item must draw a new prefix up to three times";
    EXPECT_EQ(platform.sweeps, 1) << "the stick must be swept once per run, before its first copy";
    ASSERT_EQ(platform.questions.size(), 2u);
    EXPECT_NE(lastQuestion().find("MAQ10004.MP4\" is already on the PSP"), std::string::npos);
}

// A stick that stops answering while a video's thumbnail is copied keeps the video, which
// counts as copied: the user is told so, then that the stick is gone.
TEST_F(CopyToPsp, AVideoLeftOnTheStickByItsThumbnailsFailureCountsAsCopiedAndNeverLandsTwice) {
    addVideos({"a.MP4", "b.MP4", "c.MP4"});
    addThumbnail("b.THM");
    platform.duringFileCopy = [&] { platform.silentRoot = stick.root(); };
    ready({0, 1, 2}, 555);
    form.raise("btnCopy", EventKind::Click);
    EXPECT_EQ(stickFiles(), (Strings{"MAQ55501.MP4", "MAQ55502.MP4"}));
    EXPECT_EQ(selected(form.listSource), std::vector<int>{2})
        << "a video on the stick must count as copied";
    ASSERT_EQ(platform.questions.size(), 3u);
    EXPECT_EQ(platform.questions[1].text,
              "\"b.MP4\" is on the PSP as \"MAQ55502.MP4\" and counts as copied, but its "
              "thumbnail may be missing.");
    EXPECT_EQ(lastQuestion(), "Video directory not found!");
    platform.silentRoot.clear();
    platform.duringFileCopy = [] {};
    ready({2}, 666);
    form.raise("btnCopy", EventKind::Click);
    EXPECT_EQ(stickFiles(), (Strings{"MAQ55501.MP4", "MAQ55502.MP4", "MAQ66603.MP4"}))
        << "no video may land twice";
}

// The ways a video ends the run; a stick swapped or silent takes the PSP side with it, a silent
// source does not.
enum class Stop { Cancelled, Failed, Thumbnail, VideoLost, ThumbLost, Swapped, Silent, SrcSilent };
class CopyStop : public CopyToPsp, public ::testing::WithParamInterface<Stop> {};

TEST_P(CopyStop, TheVideoStaysSelectedWithTheRestAndNothingOfItIsOnTheStick) {
    addVideos({"a.MP4", "b.MP4", "b.THM", "c.MP4"});
    const Stop how = GetParam();
    const bool taken = how == Stop::Thumbnail;
    platform.duringShellCopy = [&] {
        if (how == Stop::Thumbnail && platform.shellCopies == 1) {
            stick.makeFolder(inVideoFolder("MAQ55502.THM"));
        }
        platform.setVolume(stick.path(), how == Stop::Swapped ? 3 : kStickVolume);
    };
    const bool lost = how == Stop::VideoLost || how == Stop::ThumbLost;
    platform.lostCopies = {lost ? (how == Stop::VideoLost ? "MAQ55502.MP4" : "MAQ55502.THM") : ""};
    ready({0, 1, 2}, 555);
    if (how == Stop::Cancelled || how == Stop::Failed || how == Stop::Silent ||
        how == Stop::SrcSilent) {
        const std::string silent = how == Stop::Silent      ? form.drivePSP.Root()
                                   : how == Stop::SrcSilent ? form.listSource.Path() + "/"
                                                            : "";
        platform.shellCopyEnds[2] = {how == Stop::Cancelled ? 0 : 1, how == Stop::Cancelled, false,
                                     silent};
    }
    form.raise("btnCopy", EventKind::Click);
    EXPECT_EQ(stickFiles(),
              (taken ? Strings{"MAQ55501.MP4", "MAQ55502.THM"} : Strings{"MAQ55501.MP4"}));
    const bool gone = how == Stop::Swapped || how == Stop::Silent;  // not SourceSilent
    EXPECT_EQ(listed(form.listPSP), (gone ? Strings{} : Strings{"MAQ55501.MP4"}));
    EXPECT_EQ(selected(form.listSource), (std::vector<int>{1, 2}));
    EXPECT_EQ(form.sizeSource.Caption(), "2");
    // The shell speaks for itself.
    const char* said = taken ? "MAQ55502.THM" : lost ? "did not give back what was written" : "";
    said = how == Stop::Swapped ? "directory not found" : said;
    ASSERT_EQ(platform.questions.size(), *said ? 2u : 1u);
    EXPECT_NE(platform.questions.back().text.find(said), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Ways, CopyStop,
                         ::testing::Values(Stop::Cancelled, Stop::Failed, Stop::Thumbnail,
                                           Stop::VideoLost, Stop::ThumbLost, Stop::Swapped,
                                           Stop::Silent, Stop::SrcSilent));

// A card that wraps around loses videos that read back when copied: at the run's end they come
// off the stick where it lets them, are selected again, and told once. One whose source went stays.
TEST_F(CopyToPsp, VideosTheStickLosesLaterInTheRunAreFoundAtItsEndAndSelectedAgain) {
    addVideos({"a.MP4", "b.MP4", "c.MP4", "d.MP4"});
    addThumbnail("a.THM");
    platform.duringShellCopy = [&] {
        if (platform.shellCopies == 3) {  // the last copy writes over the first and third
            stick.write(inVideoFolder("MAQ55501.MP4"), "what the last copy wrote");
            stick.write(inVideoFolder("MAQ55503.MP4"), "what the last copy wrote");
            home.remove("b.MP4");
        }
    };
    platform.failingDeletions.insert(stick.at(inVideoFolder("MAQ55503.MP4")));
    ready({0, 1, 2, 3}, 555);
    form.raise("btnCopy", EventKind::Click);
    EXPECT_EQ(stickFiles(), (Strings{"MAQ55502.MP4", "MAQ55503.MP4", "MAQ55504.MP4"}));
    EXPECT_EQ(listed(form.listPSP), stickFiles());
    EXPECT_EQ(selected(form.listSource), (std::vector<int>{0, 2}));
    EXPECT_EQ(form.sizeSource.Caption(), "2");
    ASSERT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(lastQuestion(),
              "The stick did not give back these videos after they were copied: \"a.MP4\", "
              "\"c.MP4\". It may be failing, or hold less than it claims. They are selected again; "
              "the stick did not let the copies of \"c.MP4\" be removed: delete them on the PSP.");
}

// A stick pulled or silent while the run's copies are checked keeps them counted, each read back
// as it was copied: nothing is removed, and its going is said once. The copy's window counted the
// run's videos and megabytes.
TEST_F(CopyToPsp, AStickThatGoesWhileTheCopiesAreCheckedKeepsThemCountedAndIsToldOnce) {
    addVideos({"a.MP4", "b.MP4"});
    for (const bool silent : {false, true}) {
        platform.questions.clear();
        platform.steps.clear();
        platform.silentRoot.clear();
        ready({0, 1}, silent ? 556 : 555);
        platform.duringRecheck = [&] {
            silent ? void(platform.silentRoot = form.drivePSP.Root())
                   : stick.remove(inVideoFolder(""));
        };
        form.raise("btnCopy", EventKind::Click);
        EXPECT_TRUE(selected(form.listSource).empty() && platform.deletions.empty()) << silent;
        ASSERT_EQ(platform.questions.size(), 2u);
        EXPECT_EQ(lastQuestion(), "Video directory not found!");
        ASSERT_EQ(platform.steps.size(), 2u);
        const CopyStep& last = platform.steps.back();
        EXPECT_EQ(std::tuple(last.number, last.count, last.bytesBefore, last.runBytes),
                  std::tuple(2, 2, kMegabyte, 2 * kMegabyte));
    }
}

// On Linux * and ? are characters of a name, never a pattern.
TEST_F(CopyToPsp, ACopyTakesTheThumbnailOfItsOwnNameOrNone) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names hold neither * nor ?.";
#endif
    addVideos({"*.MP4", "best*.MP4", "How?.MP4", "Why?.MP4"});
    for (const char* thumbnail :
         {"a.THM", "*.THM", "best of.THM", "How1.THM", "how?.THM", "Why1.THM"}) {
        addThumbnail(thumbnail);
    }
    ready({0, 1, 2, 3}, 123);
    form.btnCopy_Click();
    EXPECT_EQ(stickFiles(), (Strings{"MAQ12301.MP4", "MAQ12301.THM", "MAQ12302.MP4", "MAQ12303.MP4",
                                     "MAQ12303.THM", "MAQ12304.MP4"}));
    EXPECT_TRUE(copiedIntact("MAQ12301.THM", "*.THM"));
    EXPECT_TRUE(copiedIntact("MAQ12303.THM", "how?.THM"));
    EXPECT_EQ(platform.questions.size(), 1u);  // the confirmation alone
}

// A copy needs the stick picked and one megabyte more free than selected: the figures, and the
// question that follows ("": none; the working folder is no PSP). Every name in the video folder
// as the copy starts, in any case, takes its prefix, even one written after the list was read.
// Positions from 100 on get names of their own, up to the last.
TEST_F(CopyToPsp, RefusesWithoutSpaceOrAFreePrefixAndPositionsPast99KeepTheirOwnNames) {
    for (const auto& [free, selected, question] :
         {std::tuple{"101", "100", kPickFirst}, std::tuple{"0", "0", kNotEnoughSpace},
          std::tuple{"100", "100", kNotEnoughSpace}, std::tuple{"101", "100", kConfirm},
          std::tuple{"500", "0", ""}}) {
        platform.questions.clear();
        platform.randomDraws = 0;
        form.freePSP.setCaption(free);
        form.sizeSource.setCaption(selected);
        form.btnCopy_Click();
        EXPECT_EQ(lastQuestion(), question) << free << " free, " << selected << " selected";
        EXPECT_EQ(platform.randomDraws, lastQuestion() == kConfirm ? 1 : 0) << free;
        if (question == kPickFirst) {
            showStick(form);
        }
    }
    for (int i = 0; i < 1037; ++i) {
        home.write("v" + std::to_string(10000 + i) + ".MP4");
    }
    addThumbnail("v10009.THM");
    addThumbnail("v10099.THM");
    ready({9, 99, 1035, 1036}, 123);
    form.sizeSource.setCaption("4");
    for (int prefix = 101; prefix <= 900; ++prefix) {
        stick.write(
            inVideoFolder((prefix == 123 ? "maq" : "MAQ") + std::to_string(prefix) + ".MP4"));
    }
    stick.write(inVideoFolder("MAQ1001.MP4"));
    stick.write(inVideoFolder("MAQ90001.THM"));
    stick.remove(inVideoFolder("MAQ900.MP4"));
    form.btnCopy_Click();
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text,
              "There are no free video names left on the PSP! Delete some videos from your "
              "PSP, then copy again.");
    EXPECT_EQ(platform.randomDraws, 0);

    stick.remove(inVideoFolder("MAQ90001.THM"));
    platform.drawNext(0.0);
    platform.drawNext(0.9999999);
    platform.answer(mb::kAnswerYes);  // the message took the first answer
    form.btnCopy_Click();
    EXPECT_EQ(platform.randomDraws, 3);
    // Position 100 would give MAQ90010.THM in digits, the thumbnail of position 10.
    const Strings copies{"MAQ90010.MP4", "MAQ90010.THM", "MAQ900A0.MP4", "MAQ900A0.THM"};
    EXPECT_TRUE(std::ranges::includes(stickFiles(), copies) && stickFiles().size() == 804u);
    EXPECT_TRUE(copiedIntact("MAQ900A0.THM", "v10099.THM"));
    EXPECT_TRUE(stick.read(inVideoFolder("maq123.MP4")).empty());
    EXPECT_EQ(selected(form.listSource), (std::vector<int>{1035, 1036}));
    ASSERT_EQ(platform.questions.size(), 3u);
    EXPECT_NE(platform.questions[2].text.find("\"v11035.MP4\""), std::string::npos);
}

}  // namespace
}  // namespace velmora
