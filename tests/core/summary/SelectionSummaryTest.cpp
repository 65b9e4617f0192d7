#include <gtest/gtest.h>

#include <filesystem>

#include "app/MainForm.h"
#include "platform/Platform.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora {
namespace {

constexpr std::uint64_t kMegabyte = 1048576;

// Both lists start on one folder, so each side's naming rule can be tried on the same files.
class SelectionSummary : public ::testing::Test {
  protected:
    SelectionSummary() {
        platform.setWorkingFolder(folder.path());
        platform.setDrives({{"work [TMP]", folder.root()}});
    }

    void select(FileList& list, std::initializer_list<int> items) {
        for (int i = 0; i < list.ListCount(); ++i) {
            list.setSelected(i, false);
        }
        for (int i : items) {
            list.setSelected(i, true);
        }
    }
    // The size figure after selecting these sizes in the source list.
    std::string figureFor(std::initializer_list<std::uint64_t> sizes) {
        int n = 0;
        for (std::uint64_t size : sizes) {
            folder.writeSized("v" + std::to_string(n++) + ".MP4", size);
        }
        MainForm form(platform);
        for (int i = 0; i < form.listSource.ListCount(); ++i) {
            form.listSource.setSelected(i, true);
        }
        form.listSource_Click();
        return form.sizeSource.Caption();
    }
    // The file whose picture the box shows; empty when it shows none.
    static std::string shown(const PictureBox& box) {
        const auto* picture = dynamic_cast<const test::TestPicture*>(box.picture().get());
        return picture ? std::filesystem::path(picture->path()).filename().string() : "";
    }

    test::TempFolder folder;
    test::ScriptedPlatform platform;
};

// ----- the figure -------------------------------------------------------------------------

TEST_F(SelectionSummary, DropsTheFractionOfEachVideoBeforeAdding) {
    EXPECT_EQ(figureFor({kMegabyte - 1, kMegabyte, 2 * kMegabyte - 1}), "2");
}

TEST_F(SelectionSummary, ThreeVideosOfOneAndAHalfMegabytesCountThree) {
    EXPECT_EQ(figureFor({1572864, 1572864, 1572864}), "3");
}

TEST_F(SelectionSummary, VideosUnderAMegabyteEachCountNothing) {
    EXPECT_EQ(
        figureFor({900000, 900000, 900000, 900000, 900000, 900000, 900000, 900000, 900000, 900000}),
        "0");
}

TEST_F(SelectionSummary, LargeVideosAndTotalsCountInFull) {
    const std::uint64_t gib = 1024 * kMegabyte;
    EXPECT_EQ(figureFor({2 * gib, 3 * gib + kMegabyte - 1, 30 * gib}), "35840");
}

TEST_F(SelectionSummary, NothingSelectedShowsZeroAndLeavesTheBox) {
    folder.write("clip.MP4");
    folder.write("clip.THM", test::kJpegBytes);
    MainForm form(platform);
    form.sizeSource.setCaption("7");
    form.picSource.paint(std::make_shared<test::TestPicture>("earlier.THM"));
    form.listSource_Click();
    EXPECT_EQ(form.sizeSource.Caption(), "0");
    EXPECT_EQ(shown(form.picSource), "earlier.THM");
}

// ----- the thumbnail ----------------------------------------------------------------------

TEST_F(SelectionSummary, EachSideNamesTheThumbnailByItsOwnRule) {
    folder.write("clip.MP4");
    folder.write("clip.THM", test::kJpegBytes);
    MainForm form(platform);
    select(form.listSource, {0});
    select(form.listPSP, {0});
    form.listSource_Click();
    form.listPSP_Click();
    EXPECT_EQ(shown(form.picSource), "clip.THM");
    EXPECT_EQ(shown(form.picPSP), "");  // the PSP side looks for clip.MP4.THM

    folder.write("clip.MP4.THM", test::kJpegBytes);
    form.listPSP_Click();
    EXPECT_EQ(shown(form.picPSP), "clip.MP4.THM");
}

TEST_F(SelectionSummary, NamesWithSeveralDotsOrUnderEightCharacters) {
    for (const char* name : {"a.b.MP4", "a.b.THM", "a.b.MP4.THM", "ABC.MP4", "ABC.MP4.THM",
                             "holiday.MP4", "holiday..THM"}) {
        folder.write(name, test::kJpegBytes);
    }
    MainForm form(platform);  // a.b.MP4, ABC.MP4, holiday.MP4
    const std::pair<int, const char*> cases[] = {
        {0, "a.b.MP4.THM"}, {1, "ABC.MP4.THM"}, {2, "holiday..THM"}};
    for (const auto& [item, thumbnail] : cases) {
        select(form.listPSP, {item});
        form.listPSP_Click();
        EXPECT_EQ(shown(form.picPSP), thumbnail) << item;
    }
    select(form.listSource, {0});
    form.listSource_Click();
    EXPECT_EQ(shown(form.picSource), "a.b.THM");
}

TEST_F(SelectionSummary, FindsAThumbnailInAnyLetterCase) {
    folder.write("clip.mp4");
    folder.write("clip.thm", test::kJpegBytes);
    MainForm form(platform);
    select(form.listSource, {0});
    form.listSource_Click();
    EXPECT_NE(form.picSource.picture(), nullptr);
}

TEST_F(SelectionSummary, TheLastSelectedVideoWithAThumbnailStaysVisible) {
    for (char c = 'a'; c <= 'f'; ++c) {
        folder.write(std::string(1, c) + ".MP4", std::string(kMegabyte, 'x'));
    }
    folder.write("c.THM", test::kJpegBytes);
    folder.write("f.THM", test::kJpegBytes);
    MainForm form(platform);

    select(form.listSource, {2, 5});
    form.listSource_Click();
    EXPECT_EQ(shown(form.picSource), "f.THM");
    EXPECT_EQ(platform.pictureLoads, 2);  // every thumbnail is painted in turn

    select(form.listSource, {0, 2, 4});
    form.listSource_Click();
    EXPECT_EQ(shown(form.picSource), "c.THM");
    EXPECT_EQ(form.sizeSource.Caption(), "3");

    // A video without a thumbnail leaves the previous one in the box.
    select(form.listSource, {3});
    form.listSource_Click();
    EXPECT_EQ(shown(form.picSource), "c.THM");
    EXPECT_EQ(form.sizeSource.Caption(), "1");
}

TEST_F(SelectionSummary, AThumbnailThatIsNoPictureIsTakenAsNone) {
    folder.write("a.MP4", std::string(kMegabyte, 'x'));
    folder.write("a.THM", test::kJpegBytes);
    folder.writeSized("b.MP4", 2 * kMegabyte);
    folder.write("b.THM", "not a picture");
    MainForm form(platform);
    select(form.listSource, {0, 1});
    form.raise("listSource", EventKind::Click);
    EXPECT_EQ(shown(form.picSource), "a.THM");
    EXPECT_EQ(form.sizeSource.Caption(), "3");
    EXPECT_TRUE(platform.questions.empty());
}

// ----- failures ---------------------------------------------------------------------------

TEST_F(SelectionSummary, AVideoThatHasGoneIsReportedAfterTheFigureIsWritten) {
    folder.writeSized("a.MP4", 2 * kMegabyte);
    folder.writeSized("b.MP4", 2 * kMegabyte);
    folder.writeSized("c.MP4", 5 * kMegabyte);
    folder.write("c.THM", test::kJpegBytes);
    MainForm form(platform);
    form.sizeSource.setCaption("9");
    select(form.listSource, {0, 1, 2});
    std::filesystem::remove(folder.at("a.MP4"));
    std::filesystem::remove(folder.at("b.MP4"));

    form.raise("listSource", EventKind::Click);
    EXPECT_EQ(form.sizeSource.Caption(), "5");
    EXPECT_EQ(shown(form.picSource), "c.THM");
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].text.find(folder.at("a.MP4")), std::string::npos)
        << platform.questions[0].text;
    EXPECT_EQ(platform.questions[0].flags, mb::kOk | mb::kIconError);
}

}  // namespace
}  // namespace velmora
