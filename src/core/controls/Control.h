#pragma once

#include <cstdint>
#include <string>

#include "controls/Signal.h"

namespace velmora {

enum class ControlKind { Frame, TextBox, Button, FileList, DriveList, Label, PictureBox };

enum class Alignment { Left, Right, Center };

enum class Pointer { Default, PointingHand };

// Place and size in twips (15 twips make one pixel at 96 dpi), relative to the container.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Colour {
    enum class Role { Default, SystemWindow, SystemWindowText, Rgb };
    Role role = Role::Default;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct Font {
    std::string face = "Tahoma";
    double points = 8.25;
    int weight = 400;
    bool underline = false;
};

// Everything about a control that never changes while the window exists.
struct ControlDescription {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string container;  // empty: the window's client area
    TwipsRect place;
    int tabIndex = 0;
    std::string text;  // initial caption or text
    std::string toolTip;
    Alignment alignment = Alignment::Left;
    Colour foreground;
    Colour background;
    Font font;
    Pointer pointer = Pointer::Default;
};

// The common part of every control model: its fixed description and a change signal that
// views listen to in order to render the model again.
class Control {
  public:
    explicit Control(ControlDescription description) : description_(std::move(description)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlDescription& description() const { return description_; }
    const std::string& name() const { return description_.name; }
    ControlKind kind() const { return description_.kind; }

    // Moves the keyboard focus to this control (views do it).
    void SetFocus() { focusRequested.emit(); }

    // Raised after any change of what the control shows.
    Signal<> changed;
    Signal<> focusRequested;

  private:
    ControlDescription description_;
};

}  // namespace velmora
