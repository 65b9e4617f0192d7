#include "app/MainForm.h"

#include <gtest/gtest.h>

#include "support/StickFixture.h"

namespace velmora {
namespace {

class MainFormTest : public test::StickTest {
  protected:
    MainForm form{platform};
};

TEST_F(MainFormTest, StartsWithBothListsOnTheWorkingFolderAndItsDrive) {
    home.write("b.MP4");
    home.write("A.mp4");
    const MainForm started(platform);
    for (const FileList* list : {&started.listSource, &started.listPSP}) {
        EXPECT_EQ(list->Path(), home.path());
        EXPECT_EQ(listed(*list), (std::vector<std::string>{"A.mp4", "b.MP4"}));
    }
    EXPECT_EQ(started.drivePSP.Drive(), "h: [HOME]");
    for (const Label* figure : {&started.freePSP, &started.sizeSource, &started.sizePSP}) {
        EXPECT_EQ(figure->Caption(), "0");
    }
}

TEST_F(MainFormTest, WiresExactlyTheTenHandledEventsAndTheCreditOpensTheAboutPage) {
    int wired = 0;
    for (const Control* c : form.controls()) {
        for (EventKind kind : {EventKind::Click, EventKind::Change, EventKind::KeyPress}) {
            wired += form.hasHandler(c->name(), kind) ? 1 : 0;
        }
    }
    EXPECT_EQ(wired, 10);
    form.raise("picPSP", EventKind::Click);  // not wired: nothing happens
    EXPECT_TRUE(platform.openedAddresses.empty());
    form.raise("copyRight", EventKind::Click);
    EXPECT_EQ(platform.openedAddresses, std::vector<std::string>{platform.aboutPageAddress()});
}

TEST_F(MainFormTest, AnUncaughtFailureIsReportedOnceWithItsPathAndReason) {
    home.remove("");
    form.raise("listPSP", EventKind::KeyPress, key::kCtrlR);  // the refresh can't read the folder
    ASSERT_EQ(platform.questions.size(), 1u);
    EXPECT_NE(platform.questions[0].text.find(home.path()), std::string::npos);
    EXPECT_EQ(platform.questions[0].flags, mb::kOk | mb::kIconError);
}

}  // namespace
}  // namespace velmora
