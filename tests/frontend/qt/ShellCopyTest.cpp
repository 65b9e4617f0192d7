#include "ShellCopy.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include "ModalDialogs.h"
#include "support/TempFolder.h"

namespace velmora::test {
namespace {

class ShellCopyTest : public ::testing::Test {
  protected:
    ShellCopyResult copy(const std::string& from, const std::string& to) {
        return qt::copyWithProgress(files, folder.at(from), folder.at(to), nullptr);
    }

    TempFolder folder;
    FileOperations files;
};

TEST_F(ShellCopyTest, CopiesTheFileAndReportsSuccess) {
    folder.write("clip.MP4", "video bytes");
    folder.makeFolder("psp");
    const ShellCopyResult result = copy("clip.MP4", "psp/MAQ12301.MP4");
    EXPECT_EQ(result.code, 0);
    EXPECT_FALSE(result.aborted);
    EXPECT_EQ(folder.read("psp/MAQ12301.MP4"), "video bytes");
}

TEST_F(ShellCopyTest, CancellingInTheProgressWindowAbortsAndLeavesNothing) {
    folder.writeSized("big.MP4", 64u << 20);  // several blocks, so the copy asks often
    folder.makeFolder("psp");
    QString label;
    QTimer::singleShot(0, [&label] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<QProgressDialog*>(widget)) {
                label = progress->labelText();
                progress->cancel();
            }
        }
    });
    const ShellCopyResult result = copy("big.MP4", "psp/MAQ12301.MP4");
    EXPECT_TRUE(result.aborted);
    EXPECT_TRUE(label.contains("big.MP4"));
    EXPECT_FALSE(folder.exists("psp/MAQ12301.MP4"));
}

TEST_F(ShellCopyTest, AFailureIsShownWithTheSystemsReasonAndGivesANonZeroCode) {
    folder.write("clip.MP4", "video bytes");
    QString shown;
    onNextModal<QMessageBox>([&shown](QMessageBox& box) {
        shown = box.text();
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        box.accept();
    });
    const ShellCopyResult result = copy("clip.MP4", "no such folder/MAQ12301.MP4");
    EXPECT_NE(result.code, 0);
    EXPECT_FALSE(result.aborted);
    EXPECT_TRUE(shown.contains("clip.MP4")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("No such file or directory")) << shown.toStdString();
}

}  // namespace
}  // namespace velmora::test
