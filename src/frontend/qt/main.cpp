#include <QApplication>

#include "MainWindow.h"
#include "QtPlatform.h"
#include "StartupProbe.h"
#include "app/MainForm.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.velmora.Velmora"));

    velmora::qt::QtPlatform platform;
    velmora::MainForm form(platform);
    velmora::qt::MainWindow window(form);
    if (qEnvironmentVariableIsSet("VELMORA_EXIT_WHEN_SHOWN")) {
        new velmora::qt::StartupProbe(&window);
    }
    window.show();
    return QApplication::exec();
}
