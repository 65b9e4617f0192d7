#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "support/StickFixture.h"

namespace velmora {
namespace {

// Both lists start on the home folder, so each side's naming rule is tried on the same files.
class SelectionSummary : public test::StickTest {
  protected:
    // Selects exactly these items of a list, then clicks it as the user would.
    void click(const char* name, std::initializer_list<int> items) {
        FileList& list = *static_cast<FileList*>(form.control(name));
        for (int i = 0; i < list.ListCount(); ++i) {
            list.setSelected(i, false);
        }
        select(list, items);
        form.raise(name, EventKind::Click);
    }
    // The file whose picture the box shows; empty when it shows none.
    static std::string shown(const PictureBox& box) {
        const auto* picture = dynamic_cast<const test::TestPicture*>(box.picture().get());
        return picture ? std::filesystem::path(picture->path()).filename().string() : "";
    }
    MainForm form{platform};
};

struct SizeCase {
    std::vector<std::uint64_t> sizes;
    const char* figure;
};

class SizeFigure : public SelectionSummary, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeFigure, DropsTheFractionOfEachVideoBeforeAddingInSixtyFourBits) {
    for (std::size_t i = 0; i < GetParam().sizes.size(); ++i) {
        home.writeSized("v" + std::to_string(i) + ".MP4", GetParam().sizes[i]);
    }
    form.listSource.Refresh();
    click("listSource", {0, 1, 2});
    EXPECT_EQ(form.sizeSource.Caption(), GetParam().figure);
}

constexpr std::uint64_t kMB = 1048576;
INSTANTIATE_TEST_SUITE_P(Sizes, SizeFigure,
                         ::testing::Values(SizeCase{{kMB - 1, kMB, 2 * kMB - 1}, "2"},
                                           SizeCase{{3 * kMB / 2, 3 * kMB / 2, 3 * kMB / 2}, "3"},
                                           SizeCase{{900000, 900000, 900000}, "0"},
                                           SizeCase{{2048 * kMB, 3072 * kMB + kMB - 1, 30720 * kMB},
                                                    "35840"}));

TEST_F(SelectionSummary, EachSideFindsTheThumbnailByItsOwnRuleInAnyLetterCase) {
    for (const char* name : {"clip.mp4", "clip.thm", "clip.mp4.thm"}) {
        home.write(name, test::kJpegBytes);
    }
    form.listSource.Refresh();
    form.listPSP.Refresh();
    click("listSource", {0});
    click("listPSP", {0});
    EXPECT_EQ(shown(form.picSource), "clip.THM");
    EXPECT_EQ(shown(form.picPSP), "clip.mp4.THM");
}

TEST_F(SelectionSummary, TheLastSelectedVideoWithAPictureStaysInTheBox) {
    for (const char* name : {"a", "b", "c", "d", "e", "f"}) {
        home.writeSized(std::string(name) + ".MP4", kMB);
    }
    home.write("c.THM", test::kJpegBytes);
    home.write("e.THM", "not a picture");
    home.write("f.THM", test::kJpegBytes);
    form.listSource.Refresh();
    click("listSource", {2, 5});
    EXPECT_EQ(shown(form.picSource), "f.THM");
    EXPECT_EQ(platform.pictureLoads, 2);  // every thumbnail is painted in turn
    click("listSource", {0, 2, 4});
    EXPECT_EQ(shown(form.picSource), "c.THM");
    EXPECT_EQ(form.sizeSource.Caption(), "3");
    click("listSource", {3});
    click("listSource", {});
    EXPECT_EQ(shown(form.picSource), "c.THM");
    EXPECT_EQ(form.sizeSource.Caption(), "0");
    EXPECT_TRUE(platform.questions.empty());
}

TEST_F(SelectionSummary, AVideoThatHasGoneIsReportedAfterTheFigureIsWritten) {
    home.writeSized("a.MP4", 2 * kMB);
    home.writeSized("b.MP4", 5 * kMB);
    home.write("b.THM", test::kJpegBytes);
    form.listSource.Refresh();
    form.sizeSource.setCaption("9");
    select(form.listSource, {0, 1});
    home.remove("a.MP4");
    form.raise("listSource", EventKind::Click);
    EXPECT_EQ(form.sizeSource.Caption(), "5");
    EXPECT_EQ(shown(form.picSource), "b.THM");
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].text.find(home.at("a.MP4")), std::string::npos);
    EXPECT_EQ(platform.questions[0].flags, mb::kOk | mb::kIconError);
}

}  // namespace
}  // namespace velmora
