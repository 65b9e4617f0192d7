#pragma once

#include "ControlView.h"
#include "controls/Label.h"

namespace velmora::win32 {

// A label, frame or button: a native static, group box or push button showing the model's
// caption. A click on a button, or on a label that takes clicks, raises its Click event.
// Labels draw their own caption, in their colour and alignment, on as many lines as their
// height holds, even with a font a little wider than the one they were laid out for.
class CaptionView : public ControlView {
  public:
    CaptionView(MainForm& form, Label& model, HWND parent);

    void command(WORD code) override;
    void draw(const DRAWITEMSTRUCT& item) override;
};

}  // namespace velmora::win32
