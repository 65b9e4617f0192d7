#include "KeyPressForwarder.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QtTest/QTest>

namespace velmora::test {
namespace {

struct Seen {
    std::int16_t code;
    QString textAtThatMoment;
};

TEST(KeyPressForwarderTest, TheHandlerGetsTheCodeFirstThenTheControlHandlesTheKey) {
    QLineEdit edit("abc");
    std::vector<Seen> seen;
    new qt::KeyPressForwarder(
        [&](EventKind kind, std::int16_t code) {
            EXPECT_EQ(kind, EventKind::KeyPress);
            seen.push_back({code, edit.text()});
        },
        &edit);

    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_X);
    QTest::keyClick(&edit, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Left);

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].code, 8);
    EXPECT_EQ(seen[0].textAtThatMoment, "abc");
    EXPECT_EQ(seen[1].code, 'x');
    EXPECT_EQ(seen[1].textAtThatMoment, "ab");
    EXPECT_EQ(seen[2].code, 18);
    EXPECT_EQ(edit.text(), "abx");
    EXPECT_EQ(edit.cursorPosition(), 2);
}

}  // namespace
}  // namespace velmora::test
