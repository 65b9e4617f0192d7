#include "app/MainForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/PlatformError.h"
#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

namespace velmora {
namespace {

class MainFormTest : public ::testing::Test {
  protected:
    MainFormTest() {
        folder.write("b.MP4");
        folder.write("A.mp4");
        platform.setWorkingFolder(folder.path());
        platform.setDrives({{"/ [root]", "/"}, {"work [TMP]", folder.root()}});
    }
    test::ScriptedPlatform platform;
    test::TempFolder folder;
};

TEST_F(MainFormTest, StartsWithBothListsOnTheWorkingFolderAndItsDrive) {
    MainForm form(platform);
    for (const FileList* list : {&form.listSource, &form.listPSP}) {
        EXPECT_EQ(list->Path(), folder.path());
        ASSERT_EQ(list->ListCount(), 2);
        EXPECT_EQ(list->List(0), "A.mp4");
    }
    EXPECT_EQ(form.drivePSP.Drive(), "work [TMP]");
    EXPECT_EQ(form.freePSP.Caption(), "0");
    EXPECT_EQ(form.sizeSource.Caption(), "0");
    EXPECT_EQ(form.sizePSP.Caption(), "0");
    EXPECT_EQ(form.dirSource.Text(), "Select a folder");
    EXPECT_EQ(form.picSource.picture(), nullptr);
    EXPECT_EQ(form.picPSP.picture(), nullptr);
    EXPECT_TRUE(platform.questions.empty());
}

TEST_F(MainFormTest, HoldsNineteenControlsWithDistinctTabIndexesInsideTheClientArea) {
    MainForm form(platform);
    ASSERT_EQ(form.controls().size(), 19u);
    std::set<int> tabs;
    for (const Control* c : form.controls()) {
        tabs.insert(c->description().tabIndex);
        const Control* container =
            c->description().container.empty() ? nullptr : form.control(c->description().container);
        const int width =
            container ? container->description().place.width : MainForm::kClientWidthTwips;
        const int height =
            container ? container->description().place.height : MainForm::kClientHeightTwips;
        EXPECT_LE(c->description().place.left + c->description().place.width, width) << c->name();
        EXPECT_LE(c->description().place.top + c->description().place.height, height) << c->name();
        EXPECT_EQ(c->description().font.face, "Tahoma");
    }
    EXPECT_EQ(tabs.size(), 19u);
    EXPECT_EQ(*tabs.begin(), form.listSource.description().tabIndex);
    EXPECT_EQ(form.control("labelPSP")->description().place.width, 1335);
    EXPECT_EQ(form.listPSP.description().toolTip,
              "Ctrl-R to refresh, Backspace to delete selected files");
    EXPECT_TRUE(form.copyRight.description().font.underline);
    EXPECT_EQ(form.picSource.ScaleWidth(), 80);
    EXPECT_EQ(form.picSource.ScaleHeight(), 60);
}

TEST_F(MainFormTest, WiresExactlyTheTenHandledEvents) {
    MainForm form(platform);
    int wired = 0;
    for (const Control* c : form.controls()) {
        for (EventKind kind : {EventKind::Click, EventKind::Change, EventKind::KeyPress}) {
            wired += form.hasHandler(c->name(), kind) ? 1 : 0;
        }
    }
    EXPECT_EQ(wired, 10);
    EXPECT_FALSE(form.hasHandler("btnCopy", EventKind::KeyPress));
    form.raise("picPSP", EventKind::Click);  // not wired: nothing happens
    EXPECT_TRUE(platform.questions.empty());
}

TEST_F(MainFormTest, CreditOpensTheAboutPageAndChangesNothingElse) {
    MainForm form(platform);
    form.raise("copyRight", EventKind::Click);
    EXPECT_EQ(platform.openedAddresses, std::vector<std::string>{platform.aboutPageAddress()});
    EXPECT_TRUE(platform.questions.empty());
}

TEST_F(MainFormTest, AnUncaughtFailureIsReportedOnceWithItsPathAndReason) {
    MainForm form(platform);
    form.listPSP.setPath(folder.path());
    std::filesystem::remove_all(folder.path());
    form.raise("listPSP", EventKind::KeyPress, key::kCtrlR);  // the refresh can't read the folder
    ASSERT_EQ(platform.questions.size(), 1u);
    const auto& report = platform.questions.front();
    EXPECT_NE(report.text.find(folder.path()), std::string::npos) << report.text;
    EXPECT_EQ(report.flags, mb::kOk | mb::kIconError);
    EXPECT_FALSE(report.title.has_value());
}

}  // namespace
}  // namespace velmora
