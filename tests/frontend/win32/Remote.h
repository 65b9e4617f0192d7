#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace velmora::uitest {

// Talks to another process's windows with window messages only, as an automation client.

// Text of a window or control (WM_GETTEXT), as UTF-8.
std::string textOf(HWND window);
std::string classOf(HWND window);
// Place of a control in its top-level window's client area, in pixels.
RECT placeInClient(HWND control, HWND topLevel);
// Every child control of the window by its identifier.
std::map<int, HWND> childrenById(HWND window);
// Names a list box or combo box shows.
std::string listItem(HWND list, int index);
std::string comboItem(HWND combo, int index);

// Polls until condition holds or timeout passes; returns whether it held.
bool waitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The visible top-level window of a process with the given class, or nullptr.
HWND topLevelWindow(DWORD process, const wchar_t* windowClass);

// The texts of a dialog's static controls, in their order, line breaks as "\n".
std::vector<std::string> staticTexts(HWND dialog);

// A message box of the process: its title and its text (line breaks as "\n").
struct MessageBoxSeen {
    HWND window = nullptr;
    std::string title;
    std::string text;
};
MessageBoxSeen waitForMessageBox(DWORD process);
// Presses a button of a message box by its identifier (IDYES, IDNO, IDOK).
void press(const MessageBoxSeen& box, int button);

// Sends a message with a timeout, so a hung program can't hang the test.
LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::wstring toWide(const std::string& utf8);
std::string toUtf8(const std::wstring& utf16);

}  // namespace velmora::uitest
