#include "qt/MessageBox.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

#include "ModalDialogs.h"
#include "platform/Platform.h"

namespace velmora::test {
namespace {

using Box = QMessageBox;

// The flags and title asked for (none: the program's), the button pressed (none: Escape), and
// what the box showed and answered. Its text always shows as it was given, lines and markup alike.
struct BoxCase {
    int flags;
    const char* title;
    Box::StandardButton press;
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
        EXPECT_EQ(box.text(), "Failed.\n\n/tmp/<b>&.MP4");
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.windowTitle(), c.title ? c.title : "Velmora");
        EXPECT_EQ(box.standardButtons(), c.buttons);
        EXPECT_EQ(box.standardButton(box.defaultButton()), c.defaultButton);
        EXPECT_EQ(box.icon(), c.icon);
        c.press == Box::NoButton ? box.reject() : box.button(c.press)->click();
    });
    const auto title = c.title ? std::optional<std::string>(c.title) : std::nullopt;
    EXPECT_EQ(qt::showMessageBox(nullptr, "Failed.\r\n\r\n/tmp/<b>&.MP4", c.flags, title),
              c.answer);
    EXPECT_TRUE(shown);
}

constexpr int kYesNo2 = mb::kYesNo | mb::kDefaultButton2;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Boxes, MessageBoxTest, ::testing::Values(
    BoxCase{kYesNo2 | mb::kIconQuestion, "Confirm Deletion", Box::Yes, Box::Yes | Box::No, Box::No,
            Box::Question, mb::kAnswerYes},
    BoxCase{mb::kYesNo, nullptr, Box::No, Box::Yes | Box::No, Box::Yes, Box::NoIcon, mb::kAnswerNo},
    BoxCase{kYesNo2, nullptr, Box::NoButton, Box::Yes | Box::No, Box::No, Box::NoIcon, mb::kAnswerNo},
    BoxCase{mb::kOk | mb::kIconError, nullptr, Box::Ok, Box::Ok, Box::Ok, Box::Critical, mb::kAnswerOk}));
// clang-format on

}  // namespace
}  // namespace velmora::test
