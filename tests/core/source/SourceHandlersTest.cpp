#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "platform/Paths.h"
#include "platform/PlatformError.h"
#include "support/StickFixture.h"

namespace velmora {
namespace {

using Strings = std::vector<std::string>;

// A window on the home folder with its one video selected and previewed; home/clips holds
// two more videos.
class SourceHandlers : public test::StickTest {
  protected:
    SourceHandlers() {
        home.writeSized("home.MP4", 3 * kMegabyte);
        home.write("home.THM", test::kJpegBytes);
        home.writeSized("clips/b.mp4", kMegabyte);
        home.write("clips/a.MP4");
        home.write("clips/notes.txt");
    }
    void SetUp() override {
        form.listSource.Refresh();
        select(form.listSource, {0});
        form.listSource_Click();
        ASSERT_EQ(form.sizeSource.Caption(), "3");
    }
    bool unchanged() const {
        return form.listSource.Path() == home.path() && form.listSource.Selected(0) &&
               form.sizeSource.Caption() == "3";
    }
    MainForm form{platform};
};

TEST_F(SourceHandlers, BrowseCancelledOrToAFolderThatCantBeReadChangesNothing) {
    form.btnBrowse_Click();
    EXPECT_EQ(platform.browseTitles, Strings{"Select the folder where your video files reside"});
    platform.browseTo(home.at("gone"));
    EXPECT_THROW(form.btnBrowse_Click(), PlatformError);
    EXPECT_EQ(form.dirSource.Text(), "Select a folder");
    EXPECT_TRUE(unchanged());
}

TEST_F(SourceHandlers, BrowseToAFolderListsItsVideosAndKeepsTheFormerSummary) {
    const auto* preview = form.picSource.picture().get();
    platform.browseTo(home.at("clips"));
    form.btnBrowse_Click();
    EXPECT_EQ(form.dirSource.Text(), home.at("clips"));
    EXPECT_EQ(listed(form.listSource), (Strings{"a.MP4", "b.mp4"}));
    EXPECT_TRUE(selected(form.listSource).empty());
    EXPECT_EQ(form.sizeSource.Caption(), "3");
    EXPECT_EQ(form.picSource.picture().get(), preview);

    const std::string root = std::filesystem::path(home.path()).root_path().string();
    platform.browseTo(root);
    form.btnBrowse_Click();
    EXPECT_EQ(form.listSource.Path(), root);  // with its separator
}

// What is typed into the folder box, relative to the home folder, and whether Enter takes it.
class TypedFolder : public SourceHandlers,
                    public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(TypedFolder, EnterTakesAnExistingFolderOnly) {
    const std::string typed = home.at(GetParam().first);
    form.dirSource.setText(typed);
    form.dirSource_KeyPress(key::kCtrlR);  // only Enter counts
    EXPECT_TRUE(unchanged());
    form.raise("dirSource", EventKind::KeyPress, key::kEnter);
    EXPECT_EQ(!unchanged(), GetParam().second);
    if (GetParam().second) {
        EXPECT_EQ(form.listSource.Path(), typed);
        EXPECT_EQ(form.sizeSource.Caption(), "0");
    }
}

INSTANTIATE_TEST_SUITE_P(Typed, TypedFolder,
                         ::testing::Values(std::pair{"clips", true}, std::pair{"clips/", true},
                                           std::pair{"clips/sub", false},
                                           std::pair{"clips/a.MP4", false},
                                           std::pair{"cl*", false}));

TEST_F(SourceHandlers, KeysOfTheListRefreshAndRecomputeTheSummaryButCtrlCCopies) {
    home.write("added.MP4");
    form.listSource.setSelected(0, false);
    form.listSource_KeyPress(key::kCtrlC);  // the copy's space test: nothing is free yet
    EXPECT_EQ(form.sizeSource.Caption(), "3");
    EXPECT_EQ(platform.questions.size(), 1u);
    form.listSource_KeyPress(27);
    EXPECT_EQ(form.sizeSource.Caption(), "0");
    EXPECT_EQ(form.listSource.ListCount(), 1);
    form.raise("listSource", EventKind::KeyPress, key::kCtrlR);
    EXPECT_EQ(listed(form.listSource), (Strings{"added.MP4", "home.MP4"}));
}

}  // namespace
}  // namespace velmora
