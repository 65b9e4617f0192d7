#include "TextBoxView.h"

#include "win32/text/Wide.h"

namespace velmora::win32 {

TextBoxView::TextBoxView(MainForm& form, TextBox& model, HWND parent)
    : ControlView(
          form, model,
          createChild(parent, model, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE)),
      textBox_(model) {
    model.changed.connect([this] {
        if (!isRendering()) {
            rendering([this] { SetWindowTextW(handle(), toWide(textBox_.Text()).c_str()); });
        }
    });
    receiveKeyPresses();
}

void TextBoxView::command(WORD code) {
    if (code != EN_CHANGE || isRendering()) {
        return;
    }
    const int length = GetWindowTextLengthW(handle());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(handle(), text.data(), length + 1)));
    rendering([this, &text] { textBox_.setText(toUtf8(text)); });
}

bool TextBoxView::keyPress(std::int16_t code) {
    ControlView::keyPress(code);
    return code != key::kEnter;
}

}  // namespace velmora::win32
