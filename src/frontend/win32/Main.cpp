#include <windows.h>

#include "MainWindow.h"
#include "app/MainForm.h"
#include "win32/Win32Platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    velmora::win32::Win32Platform platform;
    velmora::MainForm form(platform);
    velmora::win32::MainWindow window(form, platform);
    window.show(showCommand);
    return window.run();
}
