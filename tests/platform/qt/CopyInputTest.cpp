#include <gtest/gtest.h>

#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include "ModalDialogs.h"
#include "frontend/qt/WindowFixture.h"
#include "qt/EventLoopWait.h"
#include "qt/ShellCopy.h"

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// A copy that runs until cancelled: 4 GiB, none stored. (The copy reserves the whole size
// first: a larger one would fail on a disk with less free.)
class CopyInput : public WindowFixture {
  protected:
    CopyInput() { folder.writeSized("endless.MP4", std::uint64_t{4} << 30); }
    qt::EventLoopWait wait;
    OffWindowFiles files{wait, [](const std::string&) { return std::string("/"); }};
};

TEST_F(CopyInput, TheWindowRepaintsButTakesNoInputUntilTheCopyIsDone) {
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
        QTest::mouseClick(progress.findChild<QPushButton*>(), Qt::LeftButton);  // Cancel
        QTest::qWait(200);  // the copy's last reports arrive, and must not show it again
        EXPECT_FALSE(progress.isVisible());
    });
    const ShellCopyResult result =
        qt::copyWithProgress(files, folder.at("endless.MP4"), folder.at("MAQ12301.MP4"), &window);
    EXPECT_TRUE(result.aborted);
    EXPECT_FALSE(folder.exists("MAQ12301.MP4"));
    QTest::keyClicks(&view("dirSource"), "late");  // the steps after a copy are closed too
    QApplication::processEvents();
    EXPECT_TRUE(platform.questions.empty());  // a click on Copy would have said "not enough space"
    EXPECT_EQ(form.dirSource.Text(), typed);
    QTest::mouseClick(&view("btnCopy"), Qt::LeftButton);  // open again
    EXPECT_EQ(platform.questions.size(), 1u);
}

// An Escape that reaches the waiting window as it shows was typed before it; one a moment
// later cancels the wait.
TEST_F(CopyInput, TheWaitingWindowTakesNoKeyTypedAheadOfIt) {
    window.show();
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
}

TEST_F(CopyInput, AFailureIsShownWithTheSystemsReasonAndGivesANonZeroCode) {
    QString shown;
    onNextModal<QMessageBox>([&shown](QMessageBox& box) {
        shown = box.icon() == QMessageBox::Critical ? box.text() : "no error icon";
        box.accept();
    });
    const ShellCopyResult result =
        qt::copyWithProgress(files, folder.at("b.MP4"), folder.at("no/MAQ.MP4"), &window);
    EXPECT_TRUE(result.code != 0 && !result.aborted);
    EXPECT_TRUE(shown.contains("b.MP4") && shown.contains("No such file or directory"));
    QApplication::processEvents();  // the window takes input again once its loop runs
}

}  // namespace
}  // namespace velmora::test
