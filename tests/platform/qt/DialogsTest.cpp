#include <gtest/gtest.h>

#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <tuple>

#include "frontend/qt/WindowFixture.h"
#include "platform/Platform.h"
#include "qt/EventLoopWait.h"
#include "qt/MessageBox.h"
#include "qt/QtPlatform.h"
#include "qt/ShellCopy.h"

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

// Acts on the next modal dialog of type T from inside its event loop, as a user would. Gives up
// after five seconds, so a dialog that never comes fails the test instead of touching a later one.
template <typename T>
void onNextModal(std::function<void(T&)> act, int ticksLeft = 1000) {
    QTimer::singleShot(5, [act = std::move(act), ticksLeft] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(*dialog);
        } else if (ticksLeft > 0) {
            onNextModal<T>(act, ticksLeft - 1);
        }
    });
}

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

using CopyInput = WindowFixture;

TEST_F(CopyInput, TheWindowTakesNoInputUntilACopyOrWaitIsDoneAndBoxesAndFailuresSayWhatTheyMean) {
    qt::EventLoopWait wait;
    OffWindowFiles files{wait, [](const std::string&) { return std::string("/"); }};
    // A copy that runs until cancelled: 4 GiB, none stored. (The copy reserves the whole size
    // first: a larger one would fail on a disk with less free.)
    home.writeSized("endless.MP4", std::uint64_t{4} << 30);
    window.show();
    const std::string typed = form.dirSource.Text();
    PaintCounter counter;
    window.installEventFilter(&counter);
    onNextModal<QProgressDialog>([&](QProgressDialog& progress) {
        QTest::mouseClick(&view("btnCopy"), Qt::LeftButton);
        QTest::keyClicks(&view("dirSource"), "typed");
        QInputMethodEvent composed;
        composed.setCommitString("composed");
        QApplication::sendEvent(&view("dirSource"), &composed);
        QMimeData text;
        text.setText("dropped");
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view("dirSource"), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view("dirSource"), &drop);
        window.update();
        QTest::qWait(100);
        EXPECT_GT(counter.paints, 0);
        // Where the video stands in its run; Escape is Cancel.
        EXPECT_TRUE(progress.labelText().contains("2 of 3 \u00b7 ") &&
                    progress.labelText().contains(" of 5120 MB"))
            << progress.labelText().toStdString();
        QTest::keyClick(&progress, Qt::Key_Escape);
        QTest::qWait(200);  // the copy's last reports arrive, and must not show it again
        EXPECT_FALSE(progress.isVisible());
    });
    const ShellCopyResult result =
        qt::copyWithProgress(files, home.at("endless.MP4"), home.at("MAQ12301.MP4"),
                             {2, 3, std::uint64_t{1} << 30, std::uint64_t{5} << 30}, &window);
    EXPECT_TRUE(result.aborted);
    EXPECT_FALSE(home.exists("MAQ12301.MP4"));
    QTest::keyClicks(&view("dirSource"), "late");  // the steps after a copy are closed too
    QApplication::processEvents();
    EXPECT_TRUE(platform.questions.empty());  // a click on Copy would have said "not enough space"
    EXPECT_EQ(form.dirSource.Text(), typed);
    QTest::mouseClick(&view("btnCopy"), Qt::LeftButton);  // open again
    EXPECT_EQ(platform.questions.size(), 1u);
    // A failure is shown with the system's reason and gives a non-zero code.
    QString shown;
    onNextModal<QMessageBox>([&shown](QMessageBox& box) {
        shown = box.icon() == QMessageBox::Critical ? box.text() : "no error icon";
        box.accept();
    });
    const ShellCopyResult failed =
        qt::copyWithProgress(files, home.at("b.MP4"), home.at("no/MAQ.MP4"), {}, &window);
    EXPECT_TRUE(failed.code != 0 && !failed.aborted);
    EXPECT_TRUE(shown.contains("b.MP4") && shown.contains("No such file or directory"));
    QApplication::processEvents();  // the window takes input again once its loop runs
    // An Escape that reaches the waiting window as it shows was typed before it; one a moment
    // later cancels the wait.
    using Clock = AnsweringWait::Clock;
    int escapes = 0;
    Clock::time_point first;
    const bool waited = wait.answerUntil(
        [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && (escapes == 0 || Clock::now() - first > 600ms)) {
                first = escapes++ == 0 ? Clock::now() : first;
                QTest::keyClick(box, Qt::Key_Escape);
            }
            return escapes > 2;
        },
        "/media/stick/");
    EXPECT_FALSE(waited);
    EXPECT_EQ(escapes, 2) << "an Escape typed ahead cancelled the waiting window";
    // Message boxes show the flags and title asked for (none: the program's), their text as it
    // was given, lines and markup alike, and give the answer to the button pressed (none: Escape).
    using Box = QMessageBox;
    constexpr int kYesNo2 = mb::kYesNo | mb::kDefaultButton2;
    for (const auto& [flags, title, press, buttons, defaultButton, icon, answer] :
         {std::tuple{kYesNo2 | mb::kIconQuestion, "Confirm Deletion", Box::Yes,
                     Box::StandardButtons(Box::Yes | Box::No), Box::No, Box::Question,
                     mb::kAnswerYes},
          {mb::kYesNo, nullptr, Box::No, Box::Yes | Box::No, Box::Yes, Box::NoIcon, mb::kAnswerNo},
          {kYesNo2, nullptr, Box::NoButton, Box::Yes | Box::No, Box::No, Box::NoIcon,
           mb::kAnswerNo},
          {mb::kOk | mb::kIconError, nullptr, Box::Ok, Box::Ok, Box::Ok, Box::Critical,
           mb::kAnswerOk}}) {
        QString shownTitle, shownText = "no box";
        onNextModal<Box>([&](Box& box) {
            shownText = box.textFormat() == Qt::PlainText ? box.text() : "markup";
            shownTitle = box.windowTitle();
            EXPECT_EQ(box.standardButtons(), buttons);
            EXPECT_EQ(box.standardButton(box.defaultButton()), defaultButton);
            EXPECT_EQ(box.icon(), icon);
            press == Box::NoButton ? box.reject() : box.button(press)->click();
        });
        const auto asked = title ? std::optional<std::string>(title) : std::nullopt;
        EXPECT_EQ(qt::showMessageBox(nullptr, "Failed.\r\n\r\n/tmp/<b>&.MP4", flags, asked),
                  answer);
        EXPECT_EQ(shownText, "Failed.\n\n/tmp/<b>&.MP4") << flags;
        EXPECT_EQ(shownTitle, title ? title : "Velmora");
    }
}

// A picture's decode that outlasts a drive's silence limit is work, not the drive's silence: the
// picture shows, and the drive goes on answering.
TEST(QtPlatformTest, ADecodeOutlastingTheSilenceLimitShowsThePictureAndLeavesTheDriveUp) {
    const TempFolder folder;
    QImage(16, 12, QImage::Format_RGB32).save(QString::fromStdString(folder.at("a.THM")), "JPG");
    qt::QtPlatform platform(200ms, [](const std::string& bytes) {
        QTest::qSleep(600);
        return qt::decodePicture(bytes);
    });
    const auto picture = platform.loadPicture(folder.at("a.THM"));
    EXPECT_EQ(picture ? picture->width() : 0, 16);
    EXPECT_EQ(platform.findFirst(folder.at("a.THM"), lookup::kFilesOnly), "a.THM");
}

}  // namespace
}  // namespace velmora::test
