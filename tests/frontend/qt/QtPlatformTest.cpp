#include "QtPlatform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QUrl>
#include <filesystem>
#include <set>

#include "ModalDialogs.h"
#include "support/TempFolder.h"

namespace velmora::test {
namespace {

TEST(QtPlatformTest, RandomDrawsFallInTheHalfOpenUnitInterval) {
    qt::QtPlatform platform;
    std::set<double> draws;
    for (int i = 0; i < 1000; ++i) {
        const double r = platform.randomDraw();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        draws.insert(r);
    }
    EXPECT_GT(draws.size(), 990u) << "reseeded from a clock that moves";
}

TEST(QtPlatformTest, TheAboutPageIsALocalFileBesideTheProgram) {
    qt::QtPlatform platform;
    const QUrl address(QString::fromStdString(platform.aboutPageAddress()));
    ASSERT_TRUE(address.isLocalFile());
    EXPECT_TRUE(address.toLocalFile().endsWith("/about.html"));
    EXPECT_TRUE(std::filesystem::exists(address.toLocalFile().toStdString()));
}

TEST(QtPlatformTest, TheBusyCursorGoesOnAndOffOnce) {
    qt::QtPlatform platform;
    platform.setBusyCursor(true);
    platform.setBusyCursor(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    platform.setBusyCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    platform.setBusyCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtPlatformTest, TheFolderBrowserGivesTheChosenFolderWithoutAFinalSeparator) {
    TempFolder folder;
    folder.makeFolder("Videos");
    qt::QtPlatform platform;
    QString title;
    onNextModal<QFileDialog>([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        dialog.setDirectory(QString::fromStdString(folder.at("Videos") + "/"));
        static_cast<QDialog&>(dialog).accept();  // as the Choose button does
    });
    EXPECT_EQ(platform.browseForFolder("Select the folder"), folder.at("Videos"));
    EXPECT_EQ(title, "Select the folder");

    onNextModal<QFileDialog>([](QFileDialog& dialog) {
        dialog.setDirectory("/");
        static_cast<QDialog&>(dialog).accept();  // as the Choose button does
    });
    EXPECT_EQ(platform.browseForFolder("Select the folder"), "/");
}

TEST(QtPlatformTest, CancellingTheFolderBrowserGivesNothing) {
    qt::QtPlatform platform;
    onNextModal<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(platform.browseForFolder("Select the folder"), std::nullopt);
}

TEST(QtPlatformTest, ListsTheRootDriveAndTheFileSystemOperationsWork) {
    qt::QtPlatform platform;
    EXPECT_EQ(platform.listDrives().front().root, "/");
    TempFolder folder;
    folder.write("Clip.MP4", "12345");
    EXPECT_EQ(platform.fileLength(folder.at("clip.mp4")), 5);
    EXPECT_EQ(platform.findFirst(folder.at("*.mp4"), lookup::kFilesOnly), "Clip.MP4");
    EXPECT_GT(platform.freeBytesAvailable(folder.path() + "/"), 0u);
}

}  // namespace
}  // namespace velmora::test
