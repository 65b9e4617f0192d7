#pragma once

#include "ControlView.h"
#include "controls/TextBox.h"

namespace velmora::win32 {

// A one-line edit box: what the user types becomes the model's text.
class TextBoxView : public ControlView {
  public:
    TextBoxView(MainForm& form, TextBox& model, HWND parent);

    void command(WORD code) override;
    // Enter goes to the key handler only: the edit box would just beep at it.
    bool keyPress(std::int16_t code) override;

  private:
    TextBox& textBox_;
};

}  // namespace velmora::win32
