#include "QtPlatform.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>
#include <chrono>
#include <random>

#include "EventLoopWait.h"
#include "MessageBox.h"
#include "ShellCopy.h"
#include "WorkAside.h"
#include "platform/PlatformError.h"
#include "posix/Drives.h"

namespace velmora::qt {
namespace {

// Where the page lies next to a program in its build folder, then where `cmake --install`
// puts it relative to the program.
constexpr const char* kAboutPageBesideProgram = "/about.html";
constexpr const char* kAboutPageInstalled = "/../share/velmora/about.html";

}  // namespace

QtPlatform::QtPlatform(std::chrono::milliseconds silence, PictureDecoder decode)
    : OffWindowPlatform(
          std::make_unique<EventLoopWait>(),
          [this](const std::string& path) { return mounts_.rootOf(path); }, silence),
      mounts_(posix::readMountTable()),
      decode_(std::move(decode)) {}

int QtPlatform::messageBox(const std::string& text, int flags,
                           const std::optional<std::string>& title) {
    return showMessageBox(QApplication::activeWindow(), text, flags, title);
}

ShellCopyResult QtPlatform::shellCopy(const std::string& from, const std::string& to,
                                      const CopyStep& step) {
    return copyWithProgress(offWindow(), from, to, step, QApplication::activeWindow());
}

bool QtPlatform::showProgress(DriveCalls::Running& work, CopyProgress& progress,
                              const std::string& text) {
    return showWithProgress(work, progress, text, QApplication::activeWindow());
}

std::optional<std::string> QtPlatform::browseForFolder(const std::string& title,
                                                       const std::string& startFolder) {
    const QString chosen = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), QString::fromStdString(title),
        QString::fromStdString(startFolder), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    // cleanPath drops a final separator everywhere but at the root.
    return QDir::cleanPath(chosen).toStdString();
}

void QtPlatform::shellOpen(const std::string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

std::string QtPlatform::aboutPageAddress() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    QString page = QDir::cleanPath(programFolder + QLatin1String(kAboutPageBesideProgram));
    if (!QFileInfo::exists(page)) {
        page = QDir::cleanPath(programFolder + QLatin1String(kAboutPageInstalled));
    }
    return QUrl::fromLocalFile(page).toString().toStdString();
}

void QtPlatform::setBusyCursor(bool busy) {
    // Qt stacks override cursors; keep at most one of ours so "off" always restores.
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QApplication::restoreOverrideCursor();
    }
}

std::shared_ptr<const Picture> QtPlatform::loadPicture(const std::string& path) {
    // Decoded off the window's thread, as a large picture takes a while, but not as a drive
    // call: decoding is no silence of the drive. Given up waiting for, it shows no preview.
    const std::optional<std::string> bytes = offWindow().pictureBytes(path);
    if (!bytes) {
        return nullptr;
    }
    auto picture = workAside(answeringWait(), mounts_.rootOf(path),
                             [bytes, decode = decode_] { return decode(*bytes); });
    return picture ? *picture : nullptr;
}

double QtPlatform::randomDraw() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::mt19937_64 generator(static_cast<std::uint64_t>(now));
    // 53 random bits scaled into [0, 1): exactly representable, never 1.
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

std::vector<DriveEntry> QtPlatform::listDrives() {
    std::vector<posix::Mount> table = posix::readMountTable();
    mounts_ = posix::MountPoints(table);
    return posix::userVisibleDrives(std::move(table));
}

bool QtPlatform::isDriveReady(const std::string& root) {
    // A drive that has not answered an earlier call, or doesn't answer this one, is not ready.
    try {
        return Platform::isDriveReady(root);
    } catch (const DriveNotAnswering&) {
        return false;
    }
}

}  // namespace velmora::qt
