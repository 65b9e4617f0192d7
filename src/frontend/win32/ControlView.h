#pragma once

#include <windows.h>

#include <cstdint>

#include "app/MainForm.h"

namespace velmora::win32 {

// The native window that shows one control model. A view renders its model whenever the
// model changes and turns the user's actions into the model's state and the form's events.
// Changes a view makes to its model are not rendered back (the native control shows them
// already), and rendering never raises an event.
class ControlView {
  public:
    ControlView(MainForm& form, Control& model, HWND window);
    virtual ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    HWND handle() const { return window_; }
    const Control& model() const { return model_; }

    // A notification the native control sent its parent (the code of WM_COMMAND).
    virtual void command(WORD /*code*/) {}
    // Draws a control that the window draws itself (WM_DRAWITEM).
    virtual void draw(const DRAWITEMSTRUCT& /*item*/) {}
    // Puts the control at its place for a screen's dpi, with that dpi's font.
    virtual void place(const RECT& pixels, HFONT font);

    // A character typed in the control, after the keyboard layout and Ctrl: the form's
    // KeyPress event gets it first. Returns whether the control should still get the key.
    virtual bool keyPress(std::int16_t code);
    // Lets the key handlers have Enter and Escape, which the dialog keys would take.
    void receiveKeyPresses();

  protected:
    // Runs a native update of the model's own making without hearing it back as the user's.
    template <typename F>
    void rendering(F&& update) {
        const bool was = rendering_;
        rendering_ = true;
        update();
        rendering_ = was;
    }
    bool isRendering() const { return rendering_; }
    void raise(EventKind kind, std::int16_t keyCode = 0);

    MainForm& form_;

  private:
    Control& model_;
    HWND window_;
    bool rendering_ = false;
};

// Creates a child control of the window for a model, with the model's identifier and text.
HWND createChild(HWND parent, const Control& model, const wchar_t* windowClass, DWORD style,
                 DWORD extendedStyle = 0);

}  // namespace velmora::win32
