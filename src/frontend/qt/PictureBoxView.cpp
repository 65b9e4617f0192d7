#include "PictureBoxView.h"

#include <QPainter>

#include "qt/QtPicture.h"

namespace velmora::qt {

PictureBoxView::PictureBoxView(PictureBox& model, QWidget* parent) : QFrame(parent), model_(model) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(PictureBox::kBorderPixels);
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);
    setAutoFillBackground(true);
    model.changed.connect([this] { update(); });
}

void PictureBoxView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const auto* picture = dynamic_cast<const QtPicture*>(model_.picture().get());
    if (picture == nullptr) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(contentsRect(), picture->image());
}

}  // namespace velmora::qt
