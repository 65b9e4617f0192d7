#pragma once

#include "Layout.h"
#include "controls/Control.h"

class QWidget;

namespace velmora {
class MainForm;
}

namespace velmora::qt {

// The widget that shows one control of the window, placed and dressed as the control's
// description says: its name as object name, place, font, tool tip, colours, mouse
// pointer, alignment, its explanation as accessible description, and its key presses
// handed to the form when it has a key handler.
QWidget* createView(Control& control, MainForm& form, QWidget* parent, const Layout& layout);

}  // namespace velmora::qt
