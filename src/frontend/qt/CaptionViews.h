#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "RaiseEvent.h"
#include "controls/Label.h"

namespace velmora::qt {

// A frame: a group box whose title follows the model's caption. Its children are placed
// from its outer top-left corner, as the layout's twips are. It draws the title on its
// etched border line, where the layout expects it; some styles would put it above.
class FrameView : public QGroupBox {
  public:
    FrameView(Frame& model, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A push button that follows its caption and raises the control's Click.
class ButtonView : public QPushButton {
  public:
    ButtonView(Button& model, RaiseEvent raise, QWidget* parent);
};

// A label that follows its caption and raises the control's Click when the left button is
// pressed and released over it.
class LabelView : public QLabel {
    // A class name of its own, which its accessible interface is made for.
    Q_OBJECT

  public:
    LabelView(Label& model, RaiseEvent raise, QWidget* parent);

    // Tightens the letter spacing of the current font, a little at most, until the caption
    // fits the label's size. The layout was made for Tahoma; the faces that stand in for
    // it run a few per cent wider.
    void fitCaption();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    RaiseEvent raise_;
    bool pressed_ = false;
};

}  // namespace velmora::qt
