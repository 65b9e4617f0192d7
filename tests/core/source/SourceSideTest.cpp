#include <filesystem>
#include <tuple>

#include "platform/PlatformError.h"
#include "support/StickFixture.h"

namespace velmora {
namespace {

using test::Strings;

// The window on the home folder, where the test writes the videos before it clicks.
class SourceSide : public test::StickTest {
  protected:
    void click(const char* name, std::initializer_list<int> items) {
        FileList& list = *static_cast<FileList*>(form.control(name));
        list.Refresh();
        select(list, items);
        form.raise(name, EventKind::Click);
    }
    // The file whose picture the box shows; empty when it shows none.
    static std::string shown(const PictureBox& box) {
        const auto* picture = dynamic_cast<const test::TestPicture*>(box.picture().get());
        return picture ? std::filesystem::path(picture->path).filename().string() : "";
    }
    MainForm form{platform};
};

// A window on home's one video, selected and previewed; home/clips holds two more. Enter, not
// Ctrl-R, takes a folder typed into the box, relative to home, when it exists; browsing, from the
// folder listed, lists the chosen folder. Only the typed one clears the former summary.
TEST_F(SourceSide, TypingOrBrowsingListsAnExistingFolderChosen) {
    home.writeSized("home.MP4", 3 * kMegabyte);
    home.write("home.THM", test::kJpegBytes);
    home.write("clips/b.mp4");
    home.write("clips/a.MP4");
    const auto unchanged = [&] {
        return form.listSource.Path() == home.path() && form.listSource.Selected(0) &&
               form.sizeSource.Caption() == "3";
    };
    for (const auto& [typed, taken] :
         {std::pair{"clips", true}, std::pair{"clips/", true}, std::pair{"clips/sub", false},
          std::pair{"clips/a.MP4", false}, std::pair{"cl*", false}}) {
        form.dirSource.setText(home.path());
        form.raise("dirSource", EventKind::KeyPress, key::kEnter);
        click("listSource", {0});
        form.dirSource.setText(home.at(typed));
        form.dirSource_KeyPress(key::kCtrlR);  // only Enter counts
        EXPECT_TRUE(unchanged()) << "Ctrl-R took " << typed;
        form.raise("dirSource", EventKind::KeyPress, key::kEnter);
        EXPECT_EQ(!unchanged(), taken) << "Enter on " << typed;
        EXPECT_EQ(form.sizeSource.Caption(), taken ? "0" : "3") << typed;
    }
    form.btnBrowse_Click();  // cancelled
    platform.browseTo(home.at("gone"));
    EXPECT_THROW(form.btnBrowse_Click(), PlatformError);
    EXPECT_TRUE(unchanged());
    platform.browseTo(home.at("clips"));
    form.btnBrowse_Click();
    EXPECT_EQ(std::tuple(form.dirSource.Text(), listed(form.listSource), selected(form.listSource),
                         form.sizeSource.Caption(), shown(form.picSource)),
              std::tuple(home.at("clips"), Strings{"a.MP4", "b.mp4"}, std::vector<int>{}, "3",
                         "home.THM"));
    const std::string root = std::filesystem::path(home.path()).root_path().string();
    platform.browseTo(root);
    form.btnBrowse_Click();
    EXPECT_EQ(form.listSource.Path(), root);  // with its separator
    platform.silentRoot = root;
    form.btnBrowse_Click();  // at the top of a folder that doesn't answer
    EXPECT_EQ(platform.browsedFrom,
              (Strings{home.path(), home.path(), home.path(), home.at("clips"), ""}));
}

// Each side finds a thumbnail by its own rule, in any letter case, and loads it as stored.
TEST_F(SourceSide, TheFigureDropsFractionsAddsIn64BitsIsNeverStaleAndTheBoxShowsTheLastPicture) {
    const std::uint64_t sizes[] = {kMegabyte - 1,        kMegabyte,
                                   2 * kMegabyte - 1,    2048 * kMegabyte,
                                   3073 * kMegabyte - 1, 30720 * kMegabyte};
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        home.writeSized(std::string(1, static_cast<char>('a' + i)) + ".MP4", sizes[i]);
    }
    home.write("c.thm", test::kJpegBytes);
    home.write("c.mp4.thm", test::kJpegBytes);
    home.write("e.THM", "not a picture");
    home.write("f.THM", test::kJpegBytes);
    click("listSource", {0, 1, 2});
    EXPECT_EQ(form.sizeSource.Caption(), "2");
    click("listSource", {3, 4, 5});
    EXPECT_EQ(form.sizeSource.Caption(), "35840");
    click("listSource", {2, 5});
    EXPECT_EQ(shown(form.picSource), "f.THM");
    click("listSource", {0, 2, 4});
    EXPECT_EQ(shown(form.picSource), "c.thm");
    click("listPSP", {2});
    EXPECT_EQ(shown(form.picPSP), "c.mp4.thm");
    EXPECT_EQ(form.sizeSource.Caption(), "3073");
    click("listSource", {3});
    click("listSource", {});
    EXPECT_EQ(shown(form.picSource), "c.thm");
    EXPECT_EQ(form.sizeSource.Caption(), "0");
    EXPECT_TRUE(platform.questions.empty());
    // A selected video that has gone is told once, with its path, after the figure is written.
    select(form.listSource, {0, 5});
    home.remove("a.MP4");
    form.raise("listSource", EventKind::Click);
    EXPECT_EQ(form.sizeSource.Caption(), "30720");
    EXPECT_EQ(shown(form.picSource), "f.THM");
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(lastQuestion().find(home.at("a.MP4")), std::string::npos);
    EXPECT_EQ(platform.questions[0].flags, mb::kOk | mb::kIconError);
    // Keys but Ctrl-C redo the figure, none reads the folder again (Ctrl-R: the Qt window test).
    select(form.listSource, {});
    form.listSource_KeyPress(key::kCtrlC);  // the copy's space test: nothing is free yet
    EXPECT_EQ(form.sizeSource.Caption(), "30720");
    EXPECT_EQ(platform.questions.size(), 2u);
    form.listSource_KeyPress(27);
    EXPECT_EQ(form.sizeSource.Caption(), "0");
    EXPECT_EQ(form.listSource.ListCount(), 6);  // a.MP4, gone, still listed
}

// The first half without thumbnails, the last three no pictures: the walk stops at the first
// that loads, and reads the folder's names once.
TEST_F(SourceSide, DecodesOnlyUpToTheThumbnailThatShowsAndReadsTheFolderOnce) {
    constexpr int kVideos = 1000, kBroken = 3;
    for (int i = 0; i < kVideos; ++i) {
        const std::string name = "v" + std::to_string(1000 + i);
        home.writeSized(name + ".MP4", kMegabyte);
        if (i >= kVideos / 2) {
            home.write(name + ".THM", i < kVideos - kBroken ? test::kJpegBytes : "not a picture");
        }
    }
    form.listSource.Refresh();
    for (const auto& [selected, loads, picture] : {std::tuple{kVideos / 2, 0, ""},
                                                   {kVideos, kBroken + 1, "v1996.THM"},
                                                   {kVideos - kBroken, 1, "v1996.THM"}}) {
        platform.pictureLoads = platform.nameReads = 0;
        for (int i = 0; i < kVideos; ++i) {
            form.listSource.setSelected(i, i < selected);
        }
        form.raise("listSource", EventKind::Click);
        EXPECT_EQ(form.sizeSource.Caption(), std::to_string(selected));
        EXPECT_EQ(shown(form.picSource), picture);
        EXPECT_EQ(platform.pictureLoads, loads);
        EXPECT_EQ(platform.nameReads, 1);
    }
}

}  // namespace
}  // namespace velmora
