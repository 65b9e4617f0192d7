#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "platform/Paths.h"
#include "platform/PlatformError.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora {
namespace {

constexpr std::uint64_t kMegabyte = 1048576;

// A window started in a home folder with a selected video and its preview; a second folder,
// clips, holds other videos.
class SourceHandlers : public ::testing::Test {
  protected:
    SourceHandlers() {
        home.writeSized("home.MP4", 3 * kMegabyte);
        home.write("home.THM", test::kJpegBytes);
        home.writeSized("clips/b.mp4", kMegabyte);
        home.writeSized("clips/a.MP4", 2 * kMegabyte);
        home.write("clips/a.THM", test::kJpegBytes);
        home.write("clips/notes.txt");
        home.makeFolder("clips/sub.MP4");
        platform.setWorkingFolder(home.path());
    }
    void selectHomeVideo(MainForm& form) {
        form.listSource.setSelected(0, true);
        form.listSource_Click();
        ASSERT_EQ(form.sizeSource.Caption(), "3");
        ASSERT_NE(form.picSource.picture(), nullptr);
    }
    std::vector<std::string> listed(const MainForm& form) const {
        std::vector<std::string> names;
        for (int i = 0; i < form.listSource.ListCount(); ++i) {
            names.push_back(form.listSource.List(i));
        }
        return names;
    }
    // What stays the same when a handler must change nothing.
    void expectUnchanged(const MainForm& form) const {
        EXPECT_EQ(form.dirSource.Text(), "Select a folder");
        EXPECT_EQ(form.listSource.Path(), home.path());
        EXPECT_TRUE(form.listSource.Selected(0));
        EXPECT_EQ(form.sizeSource.Caption(), "3");
        EXPECT_TRUE(platform.questions.empty());
    }

    test::TempFolder home;
    test::ScriptedPlatform platform;
};

// ----- Browse.. ------------------------------------------------------------------------------

TEST_F(SourceHandlers, BrowseCancelledChangesNothing) {
    MainForm form(platform);
    selectHomeVideo(form);
    form.btnBrowse_Click();
    EXPECT_EQ(platform.browseTitles,
              std::vector<std::string>{"Select the folder where your video files reside"});
    expectUnchanged(form);
}

TEST_F(SourceHandlers, BrowseToAFolderListsItsVideosAndKeepsTheFormerSummary) {
    MainForm form(platform);
    selectHomeVideo(form);
    const auto* preview = form.picSource.picture().get();
    platform.browseTo(home.at("clips"));
    form.btnBrowse_Click();
    EXPECT_EQ(form.dirSource.Text(), home.at("clips"));
    EXPECT_EQ(form.listSource.Path(), home.at("clips"));
    EXPECT_EQ(listed(form), (std::vector<std::string>{"a.MP4", "b.mp4"}));
    EXPECT_FALSE(form.listSource.Selected(0));
    EXPECT_EQ(form.sizeSource.Caption(), "3");
    EXPECT_EQ(form.picSource.picture().get(), preview);
}

TEST_F(SourceHandlers, BrowseToARootKeepsItsSeparator) {
    MainForm form(platform);
    const std::u8string root =
        std::filesystem::path(std::u8string(home.path().begin(), home.path().end()))
            .root_path()
            .u8string();
    platform.browseTo(std::string(root.begin(), root.end()));
    form.btnBrowse_Click();
    EXPECT_EQ(form.dirSource.Text(), std::string(root.begin(), root.end()));
    EXPECT_EQ(form.listSource.Path(), std::string(root.begin(), root.end()));
}

TEST_F(SourceHandlers, BrowseToAFolderThatCantBeReadChangesNothing) {
    MainForm form(platform);
    selectHomeVideo(form);
    platform.browseTo(home.at("gone"));
    EXPECT_THROW(form.btnBrowse_Click(), PlatformError);
    expectUnchanged(form);
}

// ----- Typing a folder -------------------------------------------------------------------------

TEST_F(SourceHandlers, EnterTakesAnExistingFolderWithOrWithoutAFinalSeparator) {
    for (const std::string& typed : {home.at("clips"), home.at("clips") + kPathSeparator}) {
        SCOPED_TRACE(typed);
        MainForm form(platform);
        selectHomeVideo(form);
        form.dirSource.setText(typed);
        std::int16_t code = key::kEnter;
        form.dirSource_KeyPress(code);
        EXPECT_EQ(code, key::kEnter);
        EXPECT_EQ(form.listSource.Path(), typed);
        EXPECT_EQ(listed(form), (std::vector<std::string>{"a.MP4", "b.mp4"}));
        EXPECT_EQ(form.sizeSource.Caption(), "0");
        EXPECT_EQ(form.dirSource.Text(), typed);
    }
}

TEST_F(SourceHandlers, EnterTakesAFolderOfOnlySubfoldersAndShowsItEmpty) {
    home.makeFolder("only/inner");
    MainForm form(platform);
    form.dirSource.setText(home.at("only"));
    form.dirSource_KeyPress(key::kEnter);
    EXPECT_EQ(form.listSource.Path(), home.at("only"));
    EXPECT_EQ(form.listSource.ListCount(), 0);
}

TEST_F(SourceHandlers, EnterOnAFileAPatternOrAMissingPathChangesNothing) {
    for (const std::string& typed : {home.at("clips/a.MP4"), home.at("cl*"), home.at("missing"),
                                     std::string("Select a folder"), std::string()}) {
        SCOPED_TRACE(typed);
        MainForm form(platform);
        selectHomeVideo(form);
        form.dirSource.setText(typed);
        form.dirSource_KeyPress(key::kEnter);
        EXPECT_EQ(form.listSource.Path(), home.path());
        EXPECT_TRUE(form.listSource.Selected(0));
        EXPECT_EQ(form.sizeSource.Caption(), "3");
    }
}

TEST_F(SourceHandlers, KeysOtherThanEnterInTheFolderBoxDoNothing) {
    MainForm form(platform);
    selectHomeVideo(form);
    form.dirSource.setText(home.at("clips"));
    for (std::int16_t code : {key::kCtrlC, key::kBackspace, key::kCtrlR, std::int16_t{10},
                              std::int16_t{'a'}, std::int16_t{27}}) {
        form.dirSource_KeyPress(code);
    }
    EXPECT_EQ(form.listSource.Path(), home.path());
    EXPECT_EQ(form.sizeSource.Caption(), "3");
}

// ----- Keys of the source list -----------------------------------------------------------------

TEST_F(SourceHandlers, CtrlRShowsNewVideosAndRecomputesTheSummary) {
    MainForm form(platform);
    selectHomeVideo(form);
    home.writeSized("added.MP4", 5 * kMegabyte);
    form.listSource.setSelected(0, false);
    std::int16_t code = key::kCtrlR;
    form.listSource_KeyPress(code);
    EXPECT_EQ(code, key::kCtrlR);
    EXPECT_EQ(listed(form), (std::vector<std::string>{"added.MP4", "home.MP4"}));
    EXPECT_EQ(form.sizeSource.Caption(), "0");
}

TEST_F(SourceHandlers, EveryOtherKeyRecomputesTheSummary) {
    for (std::int16_t code :
         {key::kEnter, std::int16_t{27}, key::kBackspace, std::int16_t{'x'}, std::int16_t{1}}) {
        SCOPED_TRACE(code);
        MainForm form(platform);
        selectHomeVideo(form);
        form.listSource.setSelected(0, false);
        form.listSource_KeyPress(code);
        EXPECT_EQ(form.sizeSource.Caption(), "0");
    }
}

TEST_F(SourceHandlers, CtrlCStartsTheCopyWithoutRecomputingTheSummary) {
    MainForm form(platform);
    selectHomeVideo(form);
    form.listSource.setSelected(0, false);
    form.listSource_KeyPress(key::kCtrlC);
    ASSERT_EQ(platform.questions.size(), 1u);  // the copy's space test: nothing is free yet
    EXPECT_EQ(platform.questions[0].text, "There is not enough free space on the PSP!");
    EXPECT_EQ(form.sizeSource.Caption(), "3");
}

}  // namespace
}  // namespace velmora
