#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ControlView.h"
#include "Fonts.h"
#include "VolumeChanges.h"
#include "app/MainForm.h"
#include "win32/Win32Platform.h"

namespace velmora::win32 {

// The program's one window: a fixed-size top-level window holding a native control for each
// of the form's controls, laid out from the form's twips for the screen's dpi, centred. Its
// drive list follows the volumes that Windows announces; F1 does what a click on the credit
// does.
class MainWindow {
  public:
    static constexpr wchar_t kClassName[] = L"VelmoraMainForm";

    MainWindow(MainForm& form, Win32Platform& platform);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return window_; }
    // Shows the window centred on the screen with the keyboard focus in the first control.
    void show(int showCommand);
    // Runs the window until it is closed; returns the exit code.
    int run();

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createViews();
    void addToolTips();
    void layOut(UINT dpi);
    SIZE windowSize(UINT dpi) const;
    ControlView* viewWithId(int id) const;
    ControlView* viewOf(HWND control) const;
    bool setCursor(HWND over);
    bool isHelpKey(const MSG& message) const;

    MainForm& form_;
    Win32Platform& platform_;
    VolumeChanges volumeChanges_{form_};
    HWND window_ = nullptr;
    HWND toolTips_ = nullptr;
    HWND focus_ = nullptr;
    bool closeHeld_ = false;  // a close came while a handler ran: it goes ahead after
    std::unique_ptr<Fonts> fonts_;
    std::vector<std::unique_ptr<ControlView>> views_;
};

}  // namespace velmora::win32
