#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "Checks.h"
#include "Remote.h"

namespace velmora::uitest {

// One run of Velmora.exe driven from outside: its process, its window, its controls by
// their names, and the actions a user takes, done with window messages.
class Session {
  public:
    Session(Checks& checks, std::wstring program);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts the program in a working folder and finds its window and every control.
    bool start(const std::wstring& workFolder);
    // Closes the window and checks that the program ends well.
    void close();

    HWND window() const { return window_; }
    DWORD process() const { return process_.dwProcessId; }
    DWORD thread() const { return process_.dwThreadId; }
    HWND control(const std::string& name) const { return controls_.at(name); }
    std::string text(const std::string& name) const { return textOf(control(name)); }
    std::vector<std::string> names(const std::string& list) const;

    // Selects items of a file list (and puts its caret on the first) as a user would.
    void select(const std::string& list, std::initializer_list<int> indices);
    // Types a folder into dirSource and presses Enter there.
    void typeSourceFolder(const std::wstring& folder);
    // Picks an entry of the drive list by its text; false when the list doesn't show it.
    bool pickDrive(const std::string& entry);
    // Waits for a message box, checks its title and text and answers it with a button.
    void answer(const std::string& title, const std::string& text, int button);

    Checks& checks;

  private:
    std::wstring program_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    std::map<std::string, HWND> controls_;
};

}  // namespace velmora::uitest
