#pragma once

#include "controls/Control.h"

namespace velmora {

// A caption the user can't edit.
class Label : public Control {
  public:
    explicit Label(ControlDescription description)
        : Control(std::move(description)), caption_(this->description().text) {}

    const std::string& Caption() const { return caption_; }
    void setCaption(std::string caption) {
        if (caption != caption_) {
            caption_ = std::move(caption);
            changed.emit();
        }
    }

  private:
    std::string caption_;
};

// Frames and buttons show a caption the same way; they are kinds of their own for the views.
class Frame : public Label {
  public:
    using Label::Label;
};

class Button : public Label {
  public:
    using Label::Label;
};

}  // namespace velmora
