#pragma once

#include "controls/Control.h"

namespace velmora {

// One line of freely editable text. The view writes what the user types with setText.
class TextBox : public Control {
  public:
    explicit TextBox(ControlDescription description)
        : Control(std::move(description)), text_(this->description().text) {}

    const std::string& Text() const { return text_; }
    void setText(std::string text) {
        if (text != text_) {
            text_ = std::move(text);
            changed.emit();
        }
    }

  private:
    std::string text_;
};

}  // namespace velmora
