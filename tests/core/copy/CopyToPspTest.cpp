#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/MainForm.h"
#include "core/copy/CopyFixture.h"
#include "platform/Paths.h"

namespace velmora {
namespace {

using test::drawFor;
using test::kMegabyte;
using Strings = std::vector<std::string>;

constexpr const char* kNotEnoughSpace = "There is not enough free space on the PSP!";
constexpr const char* kConfirm = "Do you wish to copy the selected files to your PSP?";

class CopyToPsp : public test::CopyTest {
  protected:
    // Records each refresh of the PSP list as (shell copies so far, names listed).
    void watchRefreshes(MainForm& form) {
        form.listPSP.itemsChanged.connect([this, &form] {
            refreshes.emplace_back(platform.shellCopies.size(), form.listPSP.ListCount());
        });
    }
    void answerYesWithPrefix(int prefix) {
        platform.drawNext(drawFor(prefix));
        platform.answer(mb::kAnswerYes);
    }
    std::vector<std::pair<std::size_t, int>> refreshes;
};

// ----- Space test and empty test ----------------------------------------------------------

TEST_F(CopyToPsp, ZeroFiguresGiveTheSpaceMessageBeforeTheEmptyTest) {
    addVideo("a.MP4");
    MainForm form(platform);
    form.btnCopy_Click();
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, kNotEnoughSpace);
    EXPECT_EQ(platform.questions[0].flags, mb::kOk);
    EXPECT_FALSE(platform.questions[0].title.has_value());
    EXPECT_EQ(platform.randomDraws, 0);
}

TEST_F(CopyToPsp, EqualFiguresAreRefusedAndOneMoreFreeMegabyteGoesOn) {
    MainForm form(platform);
    form.freePSP.setCaption("100");
    form.sizeSource.setCaption("100");
    form.btnCopy_Click();
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, kNotEnoughSpace);

    form.freePSP.setCaption("101");
    form.btnCopy_Click();
    ASSERT_EQ(platform.questions.size(), 2u);
    EXPECT_EQ(platform.questions[1].text, kConfirm);
    EXPECT_EQ(platform.randomDraws, 1);
}

TEST_F(CopyToPsp, SelectionOfVideosUnderAMegabyteEachDoesNothing) {
    for (char c = 'a'; c < 'k'; ++c) {
        source.write(std::string(1, c) + ".MP4", std::string(900000, c));
    }
    MainForm form(platform);
    showStick(form);
    select(form, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_EQ(form.sizeSource.Caption(), "0");
    form.btnCopy_Click();
    EXPECT_TRUE(platform.questions.empty());
    EXPECT_EQ(platform.randomDraws, 0);
    EXPECT_EQ(selected(form).size(), 10u);
}

TEST_F(CopyToPsp, AnswerNoLeavesEverythingAsItWas) {
    addVideo("a.MP4", 2);
    addVideo("b.MP4");
    MainForm form(platform);
    showStick(form);
    select(form, {0, 1});
    platform.drawNext(drawFor(321));
    platform.answer(mb::kAnswerNo);
    form.btnCopy_Click();
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text, kConfirm);
    EXPECT_EQ(platform.questions[0].flags, mb::kYesNo | mb::kIconQuestion);
    EXPECT_EQ(platform.questions[0].title, "Confirm Copy");
    EXPECT_TRUE(platform.shellCopies.empty());
    EXPECT_TRUE(platform.busyCursor.empty());
    EXPECT_TRUE(stickFiles().empty());
    EXPECT_EQ(selected(form), (std::vector<int>{0, 1}));
    EXPECT_EQ(form.sizeSource.Caption(), "3");
}

// ----- The run -------------------------------------------------------------------------------

// The button and Ctrl-C in the source list start the same run.
class CopyRun : public CopyToPsp, public ::testing::WithParamInterface<bool> {
  protected:
    void start(MainForm& form) {
        if (GetParam()) {
            form.listSource_KeyPress(key::kCtrlC);
        } else {
            form.raise("btnCopy", EventKind::Click);
        }
    }
};

TEST_P(CopyRun, CopiesEachSelectedVideoAndThumbnailAndRefreshesThePspSideAfterEach) {
    addVideo("Alpha.MP4");
    addThumbnail("Alpha.THM");
    addVideo("beta.mp4", 2);
    addVideo("Gamma.MP4");
    addThumbnail("Gamma.THM");
    addVideo("zeta.MP4");  // not selected
    MainForm form(platform);
    showStick(form);
    select(form, {0, 1, 2});
    ASSERT_EQ(form.sizeSource.Caption(), "4");
    int focusRequests = 0;
    form.listSource.focusRequested.connect([&focusRequests] { ++focusRequests; });
    watchRefreshes(form);

    answerYesWithPrefix(123);
    start(form);

    EXPECT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(stickFiles(), (Strings{"MAQ12301.MP4", "MAQ12301.THM", "MAQ12302.MP4", "MAQ12303.MP4",
                                     "MAQ12303.THM"}));
    EXPECT_TRUE(copiedIntact("MAQ12301.MP4", "Alpha.MP4"));
    EXPECT_TRUE(copiedIntact("MAQ12302.MP4", "beta.mp4"));
    EXPECT_TRUE(copiedIntact("MAQ12303.MP4", "Gamma.MP4"));
    EXPECT_TRUE(copiedIntact("MAQ12301.THM", "Alpha.THM"));
    EXPECT_TRUE(copiedIntact("MAQ12303.THM", "Gamma.THM"));
    EXPECT_EQ(refreshes, (std::vector<std::pair<std::size_t, int>>{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(listed(form.listPSP), (Strings{"MAQ12301.MP4", "MAQ12302.MP4", "MAQ12303.MP4"}));
    EXPECT_EQ(platform.busyCursor, (std::vector<bool>{true, false, true, false, true, false}));
    EXPECT_TRUE(selected(form).empty());
    EXPECT_EQ(form.sizeSource.Caption(), "0");
    EXPECT_EQ(form.freePSP.Caption(), "500");
    EXPECT_EQ(focusRequests, 1);
}

TEST_P(CopyRun, AVideoThatIsNotCopiedStopsTheRunThereAndStaysSelectedWithTheRest) {
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "failed");
        test::ScriptedPlatform fresh;
        fresh.setWorkingFolder(source.path());
        fresh.setDrives({{"e: [PSP]", stickRoot}});
        std::filesystem::remove_all(pathOf(videoFolder()));
        addVideo("a.MP4");
        addVideo("b.MP4");
        addThumbnail("b.THM");
        addVideo("c.MP4");
        MainForm form(fresh);
        showStick(form);
        select(form, {0, 1, 2});
        int focusRequests = 0;
        form.listSource.focusRequested.connect([&focusRequests] { ++focusRequests; });
        cancel ? fresh.cancelShellCopy(2) : fresh.failShellCopy(2);
        fresh.drawNext(drawFor(555));
        fresh.answer(mb::kAnswerYes);
        GetParam() ? form.listSource_KeyPress(key::kCtrlC) : form.btnCopy_Click();

        EXPECT_EQ(fresh.questions.size(), 1u);  // only the question: the shell spoke for itself
        EXPECT_EQ(fresh.shellCopies.size(), 2u);
        EXPECT_EQ(stickFiles(), Strings{"MAQ55501.MP4"});
        EXPECT_EQ(listed(form.listPSP), Strings{"MAQ55501.MP4"});
        EXPECT_EQ(selected(form), (std::vector<int>{1, 2}));
        EXPECT_EQ(form.sizeSource.Caption(), "2");
        EXPECT_EQ(fresh.busyCursor.back(), false);
        EXPECT_EQ(focusRequests, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(ButtonOrCtrlC, CopyRun, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& run) {
                             return run.param ? "CtrlC" : "Button";
                         });

// ----- Names -------------------------------------------------------------------------------

TEST_F(CopyToPsp, NamesCarryTheListPositionWithItsGaps) {
    for (int i = 1; i <= 12; ++i) {
        addVideo("clip" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".MP4");
    }
    MainForm form(platform);
    showStick(form);
    select(form, {2, 11});
    answerYesWithPrefix(457);
    form.btnCopy_Click();
    EXPECT_EQ(stickFiles(), (Strings{"MAQ45703.MP4", "MAQ45712.MP4"}));
    EXPECT_TRUE(copiedIntact("MAQ45712.MP4", "clip12.MP4"));
}

TEST_F(CopyToPsp, PositionsFromOneHundredOnGetNamesWhoseThumbnailsAreTheirOwn) {
    for (int i = 1; i <= 101; ++i) {
        const std::string base =
            "v" + std::string(3 - std::to_string(i).size(), '0') + std::to_string(i);
        source.writeSized(base + ".MP4", kMegabyte);
        addThumbnail(base + ".THM");
    }
    MainForm form(platform);
    showStick(form);
    select(form, {0, 8, 9, 98, 99, 100});
    answerYesWithPrefix(900);
    form.btnCopy_Click();
    const Strings videos{"MAQ90001", "MAQ90009", "MAQ90010", "MAQ90099", "MAQ900A0", "MAQ900A1"};
    const Strings sources{"v001", "v009", "v010", "v099", "v100", "v101"};
    for (std::size_t k = 0; k < videos.size(); ++k) {
        SCOPED_TRACE(videos[k]);
        EXPECT_TRUE(stickHas(videos[k] + ".MP4"));
        EXPECT_TRUE(copiedIntact(videos[k] + ".THM", sources[k] + ".THM"));
    }
    EXPECT_EQ(stickFiles().size(), 12u);
    EXPECT_TRUE(selected(form).empty());
}

TEST_F(CopyToPsp, AnItemBeyondTheLastNamedPositionIsExplainedAndStaysSelected) {
    for (int i = 0; i < 1037; ++i) {
        source.write("v" + std::to_string(10000 + i) + ".MP4");
    }
    MainForm form(platform);
    showStick(form);
    form.listSource.setSelected(0, true);
    form.listSource.setSelected(1035, true);
    form.listSource.setSelected(1036, true);
    form.sizeSource.setCaption("3");
    answerYesWithPrefix(200);
    form.btnCopy_Click();
    EXPECT_EQ(stickFiles(), Strings{"MAQ20001.MP4"});
    EXPECT_EQ(selected(form), (std::vector<int>{1035, 1036}));
    ASSERT_EQ(platform.questions.size(), 2u);
    EXPECT_NE(platform.questions[1].text.find("first 1035 files"), std::string::npos);
    EXPECT_NE(platform.questions[1].text.find("\"v11035.MP4\""), std::string::npos);
    EXPECT_EQ(platform.questions[1].flags, mb::kOk);
}

// ----- Name prefix -------------------------------------------------------------------------

TEST_F(CopyToPsp, APrefixIsDrawnAgainOnlyForAListedVideoNamedMaqAndItsDigitsInAnyCase) {
    addVideo("a.MP4");
    putOnStick("maq12301.MP4");  // the same file as MAQ12301.MP4 on the stick
    putOnStick("MAQ45601.THM");  // not a video
    putOnStick("MAQ78901.MP4");
    putOnStick("MAQ1001.MP4");  // blocks 100
    putOnStick("ZZZ.MP4");
    MainForm form(platform);
    showStick(form);
    select(form, {0});
    for (int prefix : {789, 100, 123, 456}) {
        platform.drawNext(drawFor(prefix));
    }
    platform.answer(mb::kAnswerYes);
    form.btnCopy_Click();
    EXPECT_EQ(platform.randomDraws, 4);
    ASSERT_EQ(platform.shellCopies.size(), 1u);
    EXPECT_EQ(platform.shellCopies[0].to, onStick("MAQ45601.MP4"));
}

TEST_F(CopyToPsp, TheDrawCoversOneHundredToNineHundred) {
    for (const auto& [draw, name] :
         {std::pair{0.0, "MAQ10001.MP4"}, std::pair{0.9999999, "MAQ90001.MP4"}}) {
        std::filesystem::remove_all(pathOf(videoFolder()));
        addVideo("a.MP4");
        MainForm form(platform);
        showStick(form);
        select(form, {0});
        platform.drawNext(draw);
        platform.answer(mb::kAnswerYes);
        form.btnCopy_Click();
        EXPECT_EQ(stickFiles(), Strings{name});
    }
}

TEST_F(CopyToPsp, WhenEveryPrefixIsTakenTheUserIsToldAndNothingIsCopied) {
    for (int prefix = 100; prefix <= 900; ++prefix) {
        putOnStick("MAQ" + std::to_string(prefix) + ".MP4");
    }
    addVideo("a.MP4");
    MainForm form(platform);
    showStick(form);
    select(form, {0});
    form.btnCopy_Click();
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_EQ(platform.questions[0].text,
              "There are no free video names left on the PSP! Delete some videos from your "
              "PSP, then copy again.");
    EXPECT_EQ(platform.questions[0].flags, mb::kOk);
    EXPECT_EQ(platform.randomDraws, 0);
    EXPECT_TRUE(platform.shellCopies.empty());

    // One prefix freed: the draw goes on until it finds it.
    std::filesystem::remove(pathOf(onStick("MAQ654.MP4")));
    form.listPSP.Refresh();
    platform.drawNext(drawFor(100));
    platform.drawNext(drawFor(654));
    platform.answer(mb::kAnswerYes);
    form.btnCopy_Click();
    EXPECT_TRUE(stickHas("MAQ65401.MP4"));
}

// ----- Thumbnails ------------------------------------------------------------------------------

TEST_F(CopyToPsp, AThumbnailIsFoundWhateverItsLetterCaseAndReplacesOneOfTheSameName) {
    addVideo("clip.mp4");
    source.write("CLIP.thm", test::kJpegBytes + "clip");
    putOnStick("MAQ31401.THM", "stale");
    MainForm form(platform);
    showStick(form);
    select(form, {0});
    answerYesWithPrefix(314);
    form.btnCopy_Click();
    EXPECT_TRUE(copiedIntact("MAQ31401.THM", "CLIP.thm"));
}

TEST_F(CopyToPsp, AThumbnailThatCantBeCopiedTakesItsVideoBackAndIsReported) {
    addVideo("a.MP4");
    addVideo("b.MP4");
    addThumbnail("b.THM");
    addVideo("c.MP4");
    // A folder where b's thumbnail should go: nothing can be written under that name.
    std::filesystem::create_directories(pathOf(onStick("MAQ22202.THM")));
    MainForm form(platform);
    showStick(form);
    select(form, {0, 1, 2});
    answerYesWithPrefix(222);
    form.raise("btnCopy", EventKind::Click);
    EXPECT_EQ(stickFiles(), (Strings{"MAQ22201.MP4", "MAQ22202.THM"}));
    EXPECT_EQ(selected(form), (std::vector<int>{1, 2}));
    EXPECT_EQ(form.sizeSource.Caption(), "2");
    ASSERT_EQ(platform.questions.size(), 2u);
    EXPECT_NE(platform.questions[1].text.find("MAQ22202.THM"), std::string::npos);
    EXPECT_EQ(platform.questions[1].flags, mb::kOk | mb::kIconError);
}

// ----- Paths ---------------------------------------------------------------------------------

TEST_F(CopyToPsp, NamesOfAnyCharactersAreCopied) {
    const std::string name = "Çà et là — 東京 ☃.MP4";
    addVideo(name);
    source.write("Çà et là — 東京 ☃.THM", test::kJpegBytes);
    MainForm form(platform);
    showStick(form);
    // Selected without the summary: the double opens pictures by a narrow path on Windows.
    form.listSource.setSelected(0, true);
    form.sizeSource.setCaption("1");
    answerYesWithPrefix(777);
    form.btnCopy_Click();
    ASSERT_EQ(platform.shellCopies.size(), 1u);
    EXPECT_EQ(platform.shellCopies[0].from, joinPath(source.path(), name));
    EXPECT_TRUE(copiedIntact("MAQ77701.MP4", name));
    EXPECT_TRUE(stickHas("MAQ77701.THM"));
}

}  // namespace
}  // namespace velmora
