#pragma once

#include <QFrame>

#include "controls/PictureBox.h"

namespace velmora::qt {

// A sunken box in the window colour that shows the picture last painted into the model,
// stretched to its inner area. It draws from the model on every paint, so the picture
// survives the window being covered.
class PictureBoxView : public QFrame {
  public:
    PictureBoxView(PictureBox& model, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    PictureBox& model_;
};

}  // namespace velmora::qt
