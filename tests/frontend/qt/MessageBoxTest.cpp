#include "MessageBox.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>

#include "ModalDialogs.h"
#include "platform/Platform.h"

namespace velmora::test {
namespace {

// What the box looked like when it showed, then the answer the user gave.
struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
};

int ask(const std::string& text, int flags, const std::optional<std::string>& title,
        QMessageBox::StandardButton press, Shown& shown) {
    onNextModal<QMessageBox>([&shown, press](QMessageBox& box) {
        shown = {box.windowTitle(),
                 box.text(),
                 box.icon(),
                 box.standardButtons(),
                 box.standardButton(box.defaultButton()),
                 box.textFormat()};
        box.button(press)->click();
    });
    return qt::showMessageBox(nullptr, text, flags, title);
}

TEST(MessageBoxTest, TheDeletionQuestionHasYesNoTheQuestionIconAndNoAsDefault) {
    Shown shown;
    const int answer = ask("Delete?", mb::kYesNo | mb::kIconQuestion | mb::kDefaultButton2,
                           "Confirm Deletion", QMessageBox::Yes, shown);
    EXPECT_EQ(answer, mb::kAnswerYes);
    EXPECT_EQ(shown.title, "Confirm Deletion");
    EXPECT_EQ(shown.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(shown.defaultButton, QMessageBox::No);
    EXPECT_EQ(shown.icon, QMessageBox::Question);
}

TEST(MessageBoxTest, AQuestionWithoutFlagsForTheDefaultHasYesAsDefaultAndAnswersNo) {
    Shown shown;
    const int answer = ask("Copy?", mb::kYesNo, std::nullopt, QMessageBox::No, shown);
    EXPECT_EQ(answer, mb::kAnswerNo);
    EXPECT_EQ(shown.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.title, "Velmora");
}

TEST(MessageBoxTest, AMessageHasOnlyOkAndShowsItsLinesAsPlainText) {
    Shown shown;
    const int answer = ask("Copy failed.\r\n\r\n/tmp/<b>&.MP4", mb::kOk | mb::kIconError,
                           std::nullopt, QMessageBox::Ok, shown);
    EXPECT_EQ(answer, mb::kAnswerOk);
    EXPECT_EQ(shown.buttons, QMessageBox::Ok);
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.text, "Copy failed.\n\n/tmp/<b>&.MP4");
    EXPECT_EQ(shown.format, Qt::PlainText);
    EXPECT_EQ(shown.title, "Velmora");
}

TEST(MessageBoxTest, ClosingAQuestionWithEscapeAnswersNo) {
    onNextModal<QMessageBox>([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(qt::showMessageBox(nullptr, "Create?", mb::kYesNo | mb::kDefaultButton2, {}),
              mb::kAnswerNo);
}

}  // namespace
}  // namespace velmora::test
