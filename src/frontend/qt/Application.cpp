#include "Application.h"

#include <QApplication>

#include "MainWindow.h"
#include "app/MainForm.h"
#include "qt/QtPlatform.h"

namespace velmora::qt {

int runVelmora(int argc, char* argv[], const std::function<void(QWidget& window)>& whenMade) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.velmora.Velmora"));

    QtPlatform platform;
    MainForm form(platform);
    MainWindow window(form);
    if (whenMade) {
        whenMade(window);
    }
    window.show();
    return QApplication::exec();
}

}  // namespace velmora::qt
