#pragma once

#include <QLineEdit>

#include "controls/TextBox.h"

namespace velmora::qt {

// A one-line edit: what the user types goes to the model at once, and text set by the
// handlers shows here. Its accessible name is the text it shows.
class TextBoxView : public QLineEdit {
  public:
    TextBoxView(TextBox& model, QWidget* parent);
};

}  // namespace velmora::qt
