#include "KeyCodes.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

namespace velmora::test {
namespace {

std::optional<std::int16_t> codeOf(int key, Qt::KeyboardModifiers modifiers = {},
                                   const QString& text = {}) {
    return qt::characterCode(QKeyEvent(QEvent::KeyPress, key, modifiers, text));
}

TEST(KeyCodesTest, TheHandlersKeysGiveTheirCodesWhateverTextThePlatformSends) {
    EXPECT_EQ(codeOf(Qt::Key_C, Qt::ControlModifier), 3);
    EXPECT_EQ(codeOf(Qt::Key_C, Qt::ControlModifier, QString(QChar(3))), 3);
    EXPECT_EQ(codeOf(Qt::Key_R, Qt::ControlModifier), 18);
    EXPECT_EQ(codeOf(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier), 18);
    EXPECT_EQ(codeOf(Qt::Key_Backspace), 8);
    EXPECT_EQ(codeOf(Qt::Key_Return, {}, "\r"), 13);
    EXPECT_EQ(codeOf(Qt::Key_Enter, Qt::KeypadModifier), 13);
}

TEST(KeyCodesTest, OtherKeysGiveTheCharacterTheyType) {
    EXPECT_EQ(codeOf(Qt::Key_A, {}, "a"), 'a');
    EXPECT_EQ(codeOf(Qt::Key_A, Qt::ShiftModifier, "A"), 'A');
    EXPECT_EQ(codeOf(Qt::Key_Escape, {}, QString(QChar(27))), 27);
    EXPECT_EQ(codeOf(Qt::Key_E, Qt::AltModifier, "e"), 'e');
    EXPECT_EQ(codeOf(Qt::Key_Eacute, {}, QString(QChar(0xE9))), 0xE9);
}

TEST(KeyCodesTest, KeysThatTypeNothingGiveNoCode) {
    EXPECT_EQ(codeOf(Qt::Key_Down), std::nullopt);
    EXPECT_EQ(codeOf(Qt::Key_Shift, Qt::ShiftModifier), std::nullopt);
    EXPECT_EQ(codeOf(Qt::Key_Control, Qt::ControlModifier), std::nullopt);
    EXPECT_EQ(codeOf(Qt::Key_Tab, {}, "\t"), std::nullopt);
    EXPECT_EQ(codeOf(Qt::Key_F5), std::nullopt);
}

}  // namespace
}  // namespace velmora::test
