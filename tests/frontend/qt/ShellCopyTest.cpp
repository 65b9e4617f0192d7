#include "ShellCopy.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

#include "ModalDialogs.h"
#include "support/TempFolder.h"

namespace velmora::test {
namespace {

TEST(ShellCopyTest, AFailureIsShownWithTheSystemsReasonAndGivesANonZeroCode) {
    TempFolder folder;
    folder.write("clip.MP4", "video bytes");
    QString shown;
    onNextModal<QMessageBox>([&shown](QMessageBox& box) {
        shown = box.text();
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        box.accept();
    });
    const ShellCopyResult result = qt::copyWithProgress(
        FileOperations(), folder.at("clip.MP4"), folder.at("no such folder/MAQ12301.MP4"), nullptr);
    EXPECT_NE(result.code, 0);
    EXPECT_FALSE(result.aborted);
    EXPECT_TRUE(shown.contains("clip.MP4")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("No such file or directory")) << shown.toStdString();
    QApplication::processEvents();  // the window takes input again once its loop runs
}

}  // namespace
}  // namespace velmora::test
