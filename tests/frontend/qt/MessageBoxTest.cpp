#include "MessageBox.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

#include "ModalDialogs.h"
#include "platform/Platform.h"

namespace velmora::test {
namespace {

using Box = QMessageBox;

struct BoxCase {
    const char* text;
    int flags;
    std::optional<std::string> title;
    Box::StandardButton press;  // NoButton: closed with Escape
    // What the box showed and answered.
    const char* shownText;
    const char* shownTitle;
    Box::StandardButtons buttons;
    Box::StandardButton defaultButton;
    Box::Icon icon;
    int answer;
};

class MessageBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTest, ShowsTheFlagsAndGivesTheAnswer) {
    const BoxCase& c = GetParam();
    bool shown = false;
    onNextModal<Box>([&](Box& box) {
        shown = true;
        EXPECT_EQ(box.text(), c.shownText);
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.windowTitle(), c.shownTitle);
        EXPECT_EQ(box.standardButtons(), c.buttons);
        EXPECT_EQ(box.standardButton(box.defaultButton()), c.defaultButton);
        EXPECT_EQ(box.icon(), c.icon);
        c.press == Box::NoButton ? box.reject() : box.button(c.press)->click();
    });
    EXPECT_EQ(qt::showMessageBox(nullptr, c.text, c.flags, c.title), c.answer);
    EXPECT_TRUE(shown);
}

constexpr int kDeletion = mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2;
INSTANTIATE_TEST_SUITE_P(Boxes, MessageBoxTest,
                         ::testing::Values(BoxCase{"Delete?", kDeletion, "Confirm Deletion",
                                                   Box::Yes, "Delete?", "Confirm Deletion",
                                                   Box::Yes | Box::No, Box::No, Box::Question,
                                                   mb::kAnswerYes},
                                           BoxCase{"Copy?",
                                                   mb::kYesNo,
                                                   {},
                                                   Box::No,
                                                   "Copy?",
                                                   "Velmora",
                                                   Box::Yes | Box::No,
                                                   Box::Yes,
                                                   Box::NoIcon,
                                                   mb::kAnswerNo},
                                           BoxCase{"Create?",
                                                   mb::kYesNo | mb::kDefaultButton2,
                                                   {},
                                                   Box::NoButton,
                                                   "Create?",
                                                   "Velmora",
                                                   Box::Yes | Box::No,
                                                   Box::No,
                                                   Box::NoIcon,
                                                   mb::kAnswerNo},
                                           BoxCase{"Failed.\r\n\r\n/tmp/<b>&.MP4",
                                                   mb::kOk | mb::kIconError,
                                                   {},
                                                   Box::Ok,
                                                   "Failed.\n\n/tmp/<b>&.MP4",
                                                   "Velmora",
                                                   Box::Ok,
                                                   Box::Ok,
                                                   Box::Critical,
                                                   mb::kAnswerOk}));

}  // namespace
}  // namespace velmora::test
